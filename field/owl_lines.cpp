#include "field/owl_lines.h"

namespace {

// He scoffs at a sweets shop in his forest.
constexpr const char* kBefore0[] = {"梟博士「フォッフー、わしは森の梟博士じゃ」", "見かけん顔じゃのう、何者じゃ？"};
constexpr const char* kAfter0[] = {
    "梟博士「フォッフォッ、口に砂糖が付いとるぞ」",
    "どうせお菓子屋じゃろう",
    "こんな森の奥でお菓子屋なぞ、流行るものか",
    "せいぜい頑張るんじゃな、フォッフー",
};
// Write recipes down.
constexpr const char* kBefore1[] = {"梟博士「なんじゃ、まだおったのか」", "お菓子屋なんぞ、さっさと諦めるんじゃな"};
constexpr const char* kAfter1[] = {
    "梟博士「フォッフー、強情なやつめ」",
    "ならば一つだけ教えてやろう",
    "レシピを見つけたら紙と鉛筆で書き留めるんじゃ",
    "頭だけで覚えられるほど、お菓子の道は甘くないぞい",
};
// Where the ingredients are.
constexpr const char* kBefore2[] = {"梟博士「フォッフー、またおぬしか」", "材料は集まっとるかの？"};
constexpr const char* kAfter2[] = {
    "梟博士「....聞いとらんかったわい」",
    "材料はのう、探す場所によって違うものが見つかる",
    "海の向こうの島には、この森より多くあるそうな",
    "他の場所へ行きたくば、＜探索スキル＞が鍵じゃぞ",
};
// Cooking skill.
constexpr const char* kBefore3[] = {"梟博士「フォッフー、よく来たのう」"};
constexpr const char* kAfter3[] = {
    "梟博士「わしはいつでも元気いっぱいじゃ」",
    "＜料理スキル＞が高いと、お菓子が一つ多くできる事がある",
    "じゃが安いお菓子ばかり作っとると",
    "ある所から腕が上がらんようになるぞい",
    "たまには背伸びするんじゃな、フォッフー",
};
// Battle: hit and evasion; the cave.
constexpr const char* kBefore4[] = {"梟博士「フォッフー、今日は何の用じゃ」"};
constexpr const char* kAfter4[] = {
    "梟博士「....まあよい、戦いの話をしてやろう」",
    "戦いでは命中率と回避率がものを言うんじゃ",
    "力ばかり鍛えても、当たらにゃ意味がないぞい",
    "それと洞窟には、ときどき恐ろしく強いやつが出る",
    "気をつけるんじゃぞ",
};
// The sweets points nobody understands.
constexpr const char* kBefore5[] = {"梟博士「フォッフー、おぬしも物好きじゃのう」"};
constexpr const char* kAfter5[] = {
    "梟博士「わしは物知り博士じゃ。ふむ、よかろう」",
    "スイーツポイントを高くしてお菓子を売るとな",
    "何やらポイントが貯まっていくらしいのじゃ",
    "何に使えるのかは....誰も知らん",
    "わしも知らん。フォッフー",
};
// The secret recipe.
constexpr const char* kBefore6[] = {"梟博士「フォッフー、おぬしの店の噂、森まで届いとるぞ」",
                                    "あれほど無理じゃと言ったのにのう"};
constexpr const char* kAfter6[] = {
    "梟博士「ふん、調子に乗るでないわ」",
    "....じゃが、特別に教えてやろう",
    "この森のどこかに、秘密のレシピがあるそうじゃ",
    "わしもまだ見た事はないがのう、フォッフー",
};

const OwlStage kStages[kOwlStages] = {
    {kBefore0, {"旅人です", "お菓子屋です", "鳥ハンターです"}, kAfter0, 500},
    {kBefore1, {"諦めないよ", "絶対諦めない", "馬鹿じゃない！"}, kAfter1, 1000},
    {kBefore2, {"まだまだ！！", "いい天気ですね", "梟博士の馬鹿"}, kAfter2, 1500},
    {kBefore3, {"梟博士は元気？", "ごきげんいかが？", ""}, kAfter3, 2000},
    {kBefore4, {"何か教えてっ", "ヘックシュン", "喉かわいた"}, kAfter4, 2500},
    {kBefore5, {"何か教えて", "何の博士なの？", "お腹減った"}, kAfter5, 3000},
    {kBefore6, {"だからいったの", "すごい？", "えっへん"}, kAfter6, 3500},
};

}  // namespace

const OwlStage& OwlStageAt(int stage) { return kStages[stage]; }
