// SPDX-License-Identifier: GPL-3.0-or-later
// The grassland: the fruit tree, the rabbit on the cliff and the sleeping fox.
#include <array>

#include "battle/hp.h"
#include "core/game.h"
#include "field/finds.h"
#include "field/scenes.h"
#include "field/search.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"

namespace {

constexpr std::array<int, 12> kFruitTable = {237, 237, 238, 238, 239, 239, 240, 5, 340, 340, 306, 306};

// Four jumps in five reach what the player was after.
bool JumpSucceeds(Game& g) { return g.rng.Random(5) != 0; }

}  // namespace

bool FruitTree(Game& g) {
  ShowCg(g, "tree.bmp");
  LogLine(g, J("あーー！あれ、欲しい！"));
  const int pick = Ask(g, J("ジャンプ"), J("いらない"));
  if (pick == 1) {
    PlayWave(g, kChannelHits, "jump.wav");
    LogLineWait(g, J("そいや！！"));
    if (JumpSucceeds(g)) {
      ShowCg(g, "tree2.bmp");
      GainItem(g, DrawFrom(g, kFruitTable));
      WaitForClick(g);
    } else {
      TakeDamage(g, kPlayer, 2);
      LogLine(g, J("届かなかった...."));
      LogLineWait(g, J("そして尻餅をついてケガをした"));
    }
  } else if (pick == 2) {
    LogLine(g, J("いらないやいっ"));
  }
  return true;
}

bool RabbitOnCliff(Game& g) {
  ShowCg(g, "gake.bmp");
  LogLine(g, J("！！！！たいへんだ！"));
  const int pick = Ask(g, J("助ける"), J("助けない"));
  if (pick == 1) {
    PlayWave(g, kChannelHits, "jump.wav");
    LogLineWait(g, J("ファイトーいっぱーーーつ！！"));
    if (JumpSucceeds(g)) {
      ShowCg(g, "gake1.bmp");
      LogLineWait(g, J("無事、ウサギさんを助けました！！！"));
      LogTalkWait(g, J("ウサギ「ありがとうぴょん！」"));
      GiveGift(g, 1000);
    } else {
      PlayWave(g, kChannelActs, "holl.wav");
      ShowCg(g, "gake2.bmp");
      LogLineWait(g, J("ウサギさんは落ちていった...."));
    }
  } else if (pick == 2) {
    static constexpr const char* kExcuses[] = {"助けなかった....", "ひとでなしー！！！....", "見てみぬふりをした...."};
    LogLine(g, J(kExcuses[g.rng.Random(3)]));
  }
  return true;
}

bool SleepingFox(Game& g) {
  ShowCg(g, "kitune.bmp");
  LogLine(g, J("おや、キツネが寝ている"));
  switch (Ask(g, J("割る"), J("そっとしておく"), J("手で押す"))) {
    case 1:
      PlayWave(g, kChannelHits, "pan.wav");
      ShowCg(g, "kitune2.bmp");
      LogLineWait(g, J("パン！！！"));
      for (const char* line : {"キツネ「うわ！！」", "何？！", "事件？！"}) LogTalkWait(g, J(line));
      if (g.rng.Random(2) == 0) {
        LogTalkWait(g, J("怖い夢見てた！あー怖かった"));
        LogTalkWait(g, J("起こしてくれてありがとう"));
        GiveGift(g, 500);
      } else {
        LogTalkWait(g, J("よくも起こしてくれたね！！"));
        LogLineWait(g, J("キツネは怒りました"));
      }
      break;
    case 2: LogLineWait(g, J("そっとして置きました")); break;
    case 3:
      ShowCg(g, "kitune3.bmp");
      PlayWave(g, kChannelHits, "damage3.wav");
      LogLineWait(g, J("ドン！！"));
      LogLineWait(g, J("キツネは向こうの方へ転がっていきました.."));
      break;
  }
  return true;
}
