// The tool scenes: a chest for a key, a dig for a shovel, a cast for bait and a rod,
// a rock for a pickaxe. Each choice shows how many of the tool the player carries.
#include <array>

#include "field/finds.h"
#include "field/scenes.h"
#include "field/search.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "shell/game.h"

namespace {

constexpr int kKey = 2;
constexpr int kRod = 101;
constexpr int kBait = 102;
constexpr int kShovel = 214;
constexpr int kPickaxe = 215;

// Find tables: a uniform draw picks an entry, so a repeated item is a likelier one.
constexpr std::array<int, 15> kDigTable = {324, 324, 325, 325, 325, 49, 49, 326, 326, 334, 334, 334, 220, 13, 221};
constexpr std::array<int, 13> kFishTable = {113, 113, 113, 113, 109, 109, 109, 111, 111, 115, 116, 283, 283};
constexpr std::array<int, 14> kRockTable = {7, 7, 3, 3, 3, 14, 14, 11, 11, 178, 178, 178, 55, 9};

int32_t& Owned(Game& g, int item) { return g.my.item_count[item]; }

}  // namespace

bool TreasureChest(Game& g) {
  ShowCg(g, "takara.bmp");
  LogLine(g, J("おや、宝箱があるぞ"));
  const int pick = Ask(g, J("あける(鍵:") + Num(Owned(g, kKey)) + J(")"), J("無視しよー"));
  if (pick == 1) {
    if (Owned(g, kKey) <= 0) {
      LogLineWait(g, J("でも鍵を持ってないのでほっといた"));
      return true;
    }
    Owned(g, kKey) -= 1;
    PlayWave(g, 3, "open.wav");
    PlayWave(g, 2, "takara.wav");
    ShowCg(g, "takara1.bmp");
    LogLineWait(g, J("鍵を使って開けた!!(鍵:") + Num(Owned(g, kKey)) + J(")"));
    const int32_t skill = g.unit[kPlayer].explore_skill;
    ItemFind(g, skill * 50 + 150);
    WaitForClick(g);
    ItemFind(g, skill * 150 + 500);
    WaitForClick(g);
  } else if (pick == 2) {
    LogLine(g, J("無視しーた"));
  }
  return true;
}

bool Digging(Game& g) {
  ShowCg(g, "scop.bmp");
  LogLine(g, J("むむっ、ここ絶対ある！"));
  const int pick = Ask(g, J("掘る(スコップ:") + Num(Owned(g, kShovel)) + J(")"), J("見なかった事に"));
  if (pick == 1) {
    if (Owned(g, kShovel) <= 0) {
      LogLineWait(g, J("スコップ持ってねーじゃん!!"));
      return true;
    }
    Owned(g, kShovel) -= 1;
    PlayWave(g, 0, "scop.wav");
    GainItem(g, DrawFrom(g, kDigTable));
    WaitForClick(g);
    if (g.rng.Random(10) == 0) BreakItem(g, kShovel);
  } else if (pick == 2) {
    LogLine(g, J("なんかあった？しーらないっ"));
  }
  return true;
}

bool Fishing(Game& g) {
  ShowCg(g, "sakana.bmp");
  LogLine(g, J("あっ、なんかいる！！"));
  const int pick = Ask(g, J("釣る(ｲｽﾞﾐﾐｽﾞ:") + Num(Owned(g, kBait)) + J(")"), J("見るだけ"));
  if (pick == 1) {
    if (Owned(g, kBait) <= 0 || Owned(g, kRod) <= 0) {
      LogLineWait(g, J("釣竿か餌がないから諦めた"));
      return true;
    }
    PlayWave(g, 0, "neji.wav");
    Owned(g, kBait) -= 1;
    const int catch_ = DrawFrom(g, kFishTable);
    ShowCg(g, "sakana1.bmp");
    LogLineWait(g, J("今だ！釣糸シュート！"));
    ShowCg(g, "sakana2.bmp");
    PlayWave(g, 1, "hit.wav");
    LogLineWait(g, J("ヒット!!"));
    GainItem(g, catch_);
    WaitForClick(g);
    if (g.rng.Random(10) == 0) BreakItem(g, kRod);
  } else if (pick == 2) {
    LogLine(g, J("じーーーーっと見た。"));
  }
  return true;
}

bool Rock(Game& g) {
  ShowCg(g, "iwa.bmp");
  LogLine(g, J("なんか怪しい、この岩！"));
  const int pick = Ask(g, J("発掘(ﾂﾙﾊｼ:") + Num(Owned(g, kPickaxe)) + J(")"), J("通り過ぎる"));
  if (pick == 1) {
    if (Owned(g, kPickaxe) <= 0) {
      LogLineWait(g, J("つるはしがないから諦めた"));
      return true;
    }
    PlayWave(g, 0, "hakkutu.wav");
    Owned(g, kPickaxe) -= 1;
    const int found = DrawFrom(g, kRockTable);
    LogLineWait(g, J("つるはしで掘り出した(残:") + Num(Owned(g, kPickaxe)) + J(")"));
    GainItem(g, found);
    WaitForClick(g);
  } else if (pick == 2) {
    LogLine(g, J("通り過ぎた"));
  }
  return true;
}
