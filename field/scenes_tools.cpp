// SPDX-License-Identifier: GPL-3.0-or-later
// The tool scenes: a chest for a key, a dig for a shovel, a cast for bait and a rod,
// a rock for a pickaxe. Each choice shows how many of the tool the player carries.
#include <array>

#include "core/game.h"
#include "core/item_numbers.h"
#include "field/finds.h"
#include "field/scenes.h"
#include "field/search.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"

namespace {

constexpr std::array<int, 15> kDigTable = {324, 324, 325, 325, 325, 49, 49, 326, 326, 334, 334, 334, 220, 13, 221};
constexpr std::array<int, 13> kFishTable = {113, 113, 113, 113, 109, 109, 109, 111, 111, 115, 116, 283, 283};
constexpr std::array<int, 14> kRockTable = {7, 7, 3, 3, 3, 14, 14, 11, 11, 178, 178, 178, 55, 9};

int32_t& Owned(Game& g, int item) { return g.my.item_count[item]; }

// What a tool scene says, in UTF-8.
struct ToolOffer {
  const char* picture;
  const char* sighting;  // the line on arrival
  const char* use;       // first caption, followed by the count and ")"
  int counted;           // the tool whose count the caption shows
  const char* pass;      // second caption
  const char* passed;    // the line when the player passes
  const char* lacking;   // the line when the tool is missing
};

// Shows the scene and asks. True when the player goes ahead and has the tool
// (`has_tools`); a missing tool or passing by is told here.
bool Offer(Game& g, const ToolOffer& o, bool (*has_tools)(Game&)) {
  ShowCg(g, o.picture);
  LogLine(g, J(o.sighting));
  const int pick = Ask(g, J(o.use) + Num(Owned(g, o.counted)) + ")", J(o.pass));
  if (pick == 2) LogLine(g, J(o.passed));
  if (pick != 1) return false;
  if (has_tools(g)) return true;
  LogLineWait(g, J(o.lacking));
  return false;
}

}  // namespace

bool TreasureChest(Game& g) {
  static constexpr ToolOffer kChest = {"takara.bmp",
                                       "おや、宝箱があるぞ",
                                       "あける(鍵:",
                                       kKey,
                                       "無視しよー",
                                       "無視しーた",
                                       "でも鍵を持ってないのでほっといた"};
  if (!Offer(g, kChest, [](Game& g) { return Owned(g, kKey) > 0; })) return true;
  Owned(g, kKey) -= 1;
  PlayWave(g, kChannelNews, "open.wav");
  PlayWave(g, kChannelActs, "takara.wav");
  ShowCg(g, "takara1.bmp");
  LogLineWait(g, J("鍵を使って開けた!!(鍵:") + Num(Owned(g, kKey)) + ")");
  const int32_t skill = g.unit[kPlayer].explore_skill;
  ItemFind(g, skill * 50 + 150);
  WaitForClick(g);
  ItemFind(g, skill * 150 + 500);
  WaitForClick(g);
  return true;
}

bool Digging(Game& g) {
  static constexpr ToolOffer kDig = {"scop.bmp",
                                     "むむっ、ここ絶対ある！",
                                     "掘る(スコップ:",
                                     kShovel,
                                     "見なかった事に",
                                     "なんかあった？しーらないっ",
                                     "スコップ持ってねーじゃん!!"};
  if (!Offer(g, kDig, [](Game& g) { return Owned(g, kShovel) > 0; })) return true;
  Owned(g, kShovel) -= 1;
  PlayWave(g, kChannelUi, "scop.wav");
  GainItem(g, DrawFrom(g, kDigTable));
  WaitForClick(g);
  // A second shovel may go too; with none left nothing breaks and nothing is said.
  if (g.rng.Random(10) == 0) BreakItem(g, kShovel);
  return true;
}

bool Fishing(Game& g) {
  static constexpr ToolOffer kFish = {"sakana.bmp", "あっ、なんかいる！！", "釣る(ｲｽﾞﾐﾐｽﾞ:",           kBait,
                                      "見るだけ",   "じーーーーっと見た。", "釣竿か餌がないから諦めた"};
  if (!Offer(g, kFish, [](Game& g) { return Owned(g, kBait) > 0 && Owned(g, kRod) > 0; })) return true;
  PlayWave(g, kChannelUi, "neji.wav");
  Owned(g, kBait) -= 1;
  const int caught = DrawFrom(g, kFishTable);
  ShowCg(g, "sakana1.bmp");
  LogLineWait(g, J("今だ！釣糸シュート！"));
  ShowCg(g, "sakana2.bmp");
  PlayWave(g, kChannelHits, "hit.wav");
  LogLineWait(g, J("ヒット!!"));
  GainItem(g, caught);
  WaitForClick(g);
  if (g.rng.Random(10) == 0) BreakItem(g, kRod);
  return true;
}

bool Rock(Game& g) {
  static constexpr ToolOffer kRock = {"iwa.bmp",    "なんか怪しい、この岩！",  "発掘(ﾂﾙﾊｼ:", kPickaxe, "通り過ぎる",
                                      "通り過ぎた", "つるはしがないから諦めた"};
  if (!Offer(g, kRock, [](Game& g) { return Owned(g, kPickaxe) > 0; })) return true;
  PlayWave(g, kChannelUi, "hakkutu.wav");
  Owned(g, kPickaxe) -= 1;
  const int found = DrawFrom(g, kRockTable);
  LogLineWait(g, J("つるはしで掘り出した(残:") + Num(Owned(g, kPickaxe)) + ")");
  GainItem(g, found);
  WaitForClick(g);
  return true;
}
