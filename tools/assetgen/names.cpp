// SPDX-License-Identifier: GPL-3.0-or-later
// dat/name.dat: the customers' names, one per line in CP932 with CR LF.
// Names are written here in UTF-8 and converted by a small table that covers
// exactly the kana and kanji they use; an unknown character fails generation.
#include <iterator>

#include "assets.h"

namespace assetgen {

namespace {

// clang-format off
const char* const kNames[] = {
    "はなこ", "たろう", "さくら", "ゆうき", "あおい", "ひなた", "みさき", "こはる", "りん", "そうた", "ゆい", "はると", "めい", "かえで",
    "つむぎ", "いちか", "あかり", "ひろし", "ともこ", "よしお", "まさる", "さちこ", "けいこ", "のぶお", "みのる", "ちよ", "きよし", "はるか",
    "なつみ", "ふゆこ", "あやめ", "すずか", "ことね", "しおり", "みずき", "ゆかり", "たけし", "まこと", "あきら", "ひかる", "ケンタ", "ミカ",
    "リサ", "ジロウ", "ハナ", "ユウタ", "サキ", "モモ", "ココ", "ルイ", "マリ", "アンナ", "エリカ", "ノア", "レオ", "ソラ", "ミナ", "カイ",
    "ナナ", "リク", "トモ", "ユキ", "チカ", "ヒナ", "ポポ", "ミミ", "ララ", "ピピ", "クララ", "ジョン", "マイク", "エマ", "ルーシー",
    "トム", "ベン", "サラ", "ニコ", "ロロ", "山田花子", "田中陽子", "佐藤由美", "鈴木博", "高橋夏美", "伊藤湊", "渡辺涼", "中村杏", "小林実",
    "加藤裕子", "吉田薫", "山本翔太", "松本真由美", "井上誠", "木村春香", "林大和", "清水優", "森桃", "池田樹", "橋本智子", "石川梓", "前田大輔",
    "藤田直樹", "岡田学", "後藤洋子", "長谷川蓮", "村上光", "近藤雪", "石井颯", "坂本良子", "遠藤綾", "青木美咲", "藤井拓也", "西村勇", "福田和子",
    "太田葵", "三浦桜", "岡本陸", "松田悠人", "中川久美子", "小川恵美", "中島次郎", "原田愛", "竹内茂", "金子幸子", "和田結衣", "中野楓", "上田海",
    "森田美羽", "原昭", "柴田舞", "酒井一郎", "工藤恵", "横山正", "宮崎隆", "宮本冬美", "内田凛", "高木空", "安藤千尋", "谷口豊", "大野彩",
    "丸山太郎", "今井健", "河野明美", "藤原進", "小島秋子", "村田陽菜", "武田翼", "上野小春", "杉山清", "山田純", "田中花子", "佐藤陽子", "鈴木由美",
    "高橋博", "伊藤夏美", "渡辺湊", "中村涼", "小林杏", "加藤実", "吉田裕子", "山本薫", "松本翔太", "井上真由美", "木村誠", "林春香", "清水大和",
    "森優", "池田桃", "橋本樹", "石川智子", "前田梓", "藤田大輔", "岡田直樹", "後藤学", "長谷川洋子", "村上蓮", "近藤光", "石井雪", "坂本颯",
    "遠藤良子", "青木綾", "藤井美咲", "西村拓也", "福田勇", "太田和子", "三浦葵", "岡本桜", "松田陸", "中川悠人", "小川久美子", "中島恵美", "原田次郎",
    "竹内愛", "金子茂", "和田幸子", "中野結衣", "上田楓", "森田海", "原美羽", "柴田昭", "酒井舞", "工藤一郎", "横山恵", "宮崎正", "宮本隆",
    "内田冬美", "高木凛", "安藤空", "谷口千尋", "大野豊", "丸山彩", "今井太郎", "河野健", "藤原明美", "小島進", "村田秋子", "武田陽菜", "上野翼",
    "杉山小春", "山田清", "田中純", "佐藤花子", "鈴木陽子", "高橋由美", "伊藤博", "渡辺夏美", "中村湊",
};
// clang-format on

// Kanji used by the names: Unicode code point and CP932 code.
struct KanjiCode {
  uint32_t unicode;
  uint16_t cp932;
};
const KanjiCode kKanji[] = {
    {0x4E00, 0x88EA},  // 一
    {0x4E09, 0x8E4F},  // 三
    {0x4E0A, 0x8FE3},  // 上
    {0x4E2D, 0x9286},  // 中
    {0x4E38, 0x8ADB},  // 丸
    {0x4E45, 0x8B76},  // 久
    {0x4E5F, 0x96E7},  // 也
    {0x4E95, 0x88E4},  // 井
    {0x4EBA, 0x906C},  // 人
    {0x4ECA, 0x8DA1},  // 今
    {0x4F0A, 0x88C9},  // 伊
    {0x4F50, 0x8DB2},  // 佐
    {0x5065, 0x8C92},  // 健
    {0x512A, 0x9744},  // 優
    {0x5149, 0x8CF5},  // 光
    {0x5185, 0x93E0},  // 内
    {0x51AC, 0x937E},  // 冬
    {0x51DB, 0x997A},  // 凛
    {0x524D, 0x914F},  // 前
    {0x52A0, 0x89C1},  // 加
    {0x52C7, 0x9745},  // 勇
    {0x5343, 0x90E7},  // 千
    {0x535A, 0x948E},  // 博
    {0x539F, 0x8CB4},  // 原
    {0x53E3, 0x8CFB},  // 口
    {0x5409, 0x8B67},  // 吉
    {0x548C, 0x9861},  // 和
    {0x54B2, 0x8DE7},  // 咲
    {0x5742, 0x8DE2},  // 坂
    {0x590F, 0x89C4},  // 夏
    {0x5927, 0x91E5},  // 大
    {0x592A, 0x91BE},  // 太
    {0x5B50, 0x8E71},  // 子
    {0x5B66, 0x8A77},  // 学
    {0x5B89, 0x88C0},  // 安
    {0x5B9F, 0x8EC0},  // 実
    {0x5BAE, 0x8B7B},  // 宮
    {0x5C0B, 0x9071},  // 尋
    {0x5C0F, 0x8FAC},  // 小
    {0x5C71, 0x8E52},  // 山
    {0x5CA1, 0x89AA},  // 岡
    {0x5CF6, 0x9387},  // 島
    {0x5D0E, 0x8DE8},  // 崎
    {0x5DDD, 0x90EC},  // 川
    {0x5DE5, 0x8D48},  // 工
    {0x5E78, 0x8D4B},  // 幸
    {0x5F69, 0x8DCA},  // 彩
    {0x5F8C, 0x8CE3},  // 後
    {0x6075, 0x8C62},  // 恵
    {0x60A0, 0x9749},  // 悠
    {0x611B, 0x88A4},  // 愛
    {0x62D3, 0x91F1},  // 拓
    {0x660E, 0x96BE},  // 明
    {0x6625, 0x8F74},  // 春
    {0x662D, 0x8FBA},  // 昭
    {0x667A, 0x9271},  // 智
    {0x6728, 0x96D8},  // 木
    {0x672C, 0x967B},  // 本
    {0x6749, 0x9099},  // 杉
    {0x674F, 0x88C7},  // 杏
    {0x6751, 0x91BA},  // 村
    {0x677E, 0x8FBC},  // 松
    {0x6797, 0x97D1},  // 林
    {0x67F4, 0x8EC4},  // 柴
    {0x6843, 0x938D},  // 桃
    {0x685C, 0x8DF7},  // 桜
    {0x6893, 0x88B2},  // 梓
    {0x68EE, 0x9058},  // 森
    {0x6953, 0x9596},  // 楓
    {0x6A2A, 0x89A1},  // 横
    {0x6A39, 0x8EF7},  // 樹
    {0x6A4B, 0x8BB4},  // 橋
    {0x6B21, 0x8E9F},  // 次
    {0x6B63, 0x90B3},  // 正
    {0x6B66, 0x9590},  // 武
    {0x6C34, 0x9085},  // 水
    {0x6C60, 0x9272},  // 池
    {0x6CB3, 0x89CD},  // 河
    {0x6D0B, 0x976D},  // 洋
    {0x6D66, 0x8959},  // 浦
    {0x6D77, 0x8A43},  // 海
    {0x6DBC, 0x97C1},  // 涼
    {0x6E05, 0x90B4},  // 清
    {0x6E21, 0x936E},  // 渡
    {0x6E4A, 0x96A9},  // 湊
    {0x7530, 0x9363},  // 田
    {0x7531, 0x9752},  // 由
    {0x76F4, 0x92BC},  // 直
    {0x771F, 0x905E},  // 真
    {0x77F3, 0x90CE},  // 石
    {0x798F, 0x959F},  // 福
    {0x79CB, 0x8F48},  // 秋
    {0x7A7A, 0x8BF3},  // 空
    {0x7AF9, 0x927C},  // 竹
    {0x7D14, 0x8F83},  // 純
    {0x7D50, 0x8C8B},  // 結
    {0x7DBE, 0x88BB},  // 綾
    {0x7F8E, 0x94FC},  // 美
    {0x7FBD, 0x8948},  // 羽
    {0x7FD4, 0xE3C4},  // 翔
    {0x7FFC, 0x9783},  // 翼
    {0x821E, 0x9591},  // 舞
    {0x826F, 0x97C7},  // 良
    {0x82B1, 0x89D4},  // 花
    {0x8302, 0x96CE},  // 茂
    {0x83DC, 0x8DD8},  // 菜
    {0x8475, 0x88A8},  // 葵
    {0x84EE, 0x9840},  // 蓮
    {0x85AB, 0x8C4F},  // 薫
    {0x85E4, 0x93A1},  // 藤
    {0x8863, 0x88DF},  // 衣
    {0x88D5, 0x9754},  // 裕
    {0x897F, 0x90BC},  // 西
    {0x8AA0, 0x90BD},  // 誠
    {0x8C37, 0x924A},  // 谷
    {0x8C4A, 0x964C},  // 豊
    {0x8F14, 0x95E3},  // 輔
    {0x8FBA, 0x95D3},  // 辺
    {0x8FD1, 0x8BDF},  // 近
    {0x9032, 0x9069},  // 進
    {0x9060, 0x8993},  // 遠
    {0x90CE, 0x9859},  // 郎
    {0x9152, 0x8EF0},  // 酒
    {0x91CE, 0x96EC},  // 野
    {0x91D1, 0x8BE0},  // 金
    {0x9234, 0x97E9},  // 鈴
    {0x9577, 0x92B7},  // 長
    {0x9678, 0x97A4},  // 陸
    {0x967D, 0x977A},  // 陽
    {0x9686, 0x97B2},  // 隆
    {0x96EA, 0x90E1},  // 雪
    {0x9752, 0x90C2},  // 青
    {0x98AF, 0xE944},  // 颯
    {0x9999, 0x8D81},  // 香
    {0x9AD8, 0x8D82},  // 高
};

// Decodes one UTF-8 sequence at s[i]; returns 0 on malformed input.
uint32_t NextCodePoint(const std::string& s, size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
  if (extra < 0 || i + extra >= s.size()) return 0;
  uint32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
  for (int k = 1; k <= extra; ++k) {
    unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  i += extra + 1;
  return cp;
}

// CP932 code of a code point, 0 when the converter has no mapping for it.
uint16_t ToCp932(uint32_t cp) {
  if (cp >= 0x20 && cp < 0x7F) return static_cast<uint16_t>(cp);
  if (cp >= 0x3041 && cp <= 0x3093) return static_cast<uint16_t>(0x829F + (cp - 0x3041));  // hiragana
  if (cp >= 0x30A1 && cp <= 0x30DF) return static_cast<uint16_t>(0x8340 + (cp - 0x30A1));  // katakana ァ..ミ
  if (cp >= 0x30E0 && cp <= 0x30F6) return static_cast<uint16_t>(0x8380 + (cp - 0x30E0));  // ム..ヶ (0x7F is skipped)
  if (cp == 0x30FC) return 0x815B;                                                         // long vowel mark
  for (const auto& k : kKanji)
    if (k.unicode == cp) return k.cp932;
  return 0;
}

}  // namespace

bool Utf8ToCp932(const std::string& s, std::string* out) {
  out->clear();
  for (size_t i = 0; i < s.size();) {
    uint32_t cp = NextCodePoint(s, i);
    uint16_t code = cp ? ToCp932(cp) : 0;
    if (code == 0) return false;
    if (code > 0xFF) out->push_back(static_cast<char>(code >> 8));
    out->push_back(static_cast<char>(code & 0xFF));
  }
  return true;
}

bool MakeNameFile(std::vector<uint8_t>* out, std::string* error) {
  out->clear();
  std::string line;
  for (const char* name : kNames) {
    if (!Utf8ToCp932(name, &line)) {
      *error = std::string("name.dat: no CP932 code for a character of \"") + name + "\"";
      return false;
    }
    out->insert(out->end(), line.begin(), line.end());
    out->push_back('\r');
    out->push_back('\n');
  }
  static_assert(std::size(kNames) == 226, "the game reads exactly 226 customer names");
  return true;
}

}  // namespace assetgen
