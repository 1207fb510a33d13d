// SPDX-License-Identifier: GPL-3.0-or-later
// The sea: stranded with an island in sight, the wandering bear-rabbit, the deep sea.
#include "battle/hp.h"
#include "core/game.h"
#include "field/field.h"
#include "field/finds.h"
#include "field/scenes.h"
#include "field/search.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "town/clock.h"

bool Stranded(Game& g) {
  ShowCg(g, "sounan.bmp");
  LogLineWait(g, J("あれ...."));
  LogLineWait(g, J("遭難した...."));
  for (;;) {
    if (g.WaitState == -1) return false;
    // The island is only worth the trip while the day has hours left.
    const bool island = g.my.hours_used < g.my.day_hours;
    const int pick = Ask(g, J("助けを求める"), island ? J("島へ行く") : std::string());
    if (pick == 1) {
      PassTime(g, 1);
      LogLineWait(g, J("助けてええええええええ！！"));
      if (g.rng.Random(3) == 0) {
        LogLineWait(g, J("救助船が来て、なんとか助かった！"));
        return true;
      }
      PassTime(g, 1);
      LogLine(g, J("何の反応も無い.."));
    } else if (pick == 2 && island) {
      PassTime(g, 2);
      LogLineWait(g, J("とりあえず島で探索した"));
      // Searched as its own area: the player's place stays the sea throughout.
      ItemFindIn(g, g.unit[kPlayer].explore_skill * 500 + 500, kIsland);
      WaitForClick(g);
    } else {
      return g.WaitState != -1;
    }
  }
}

bool WanderingBearRabbit(Game& g) {
  ShowCg(g, "usa0.bmp");
  LogLineWait(g, J("あれ、ウサクマさんじゃないかな…"));
  ShowCg(g, "usa.bmp");
  LogTalkWait(g, J("ウサクマ「うーみよ～、俺のうーみよ～」"));
  LogTalkWait(g, J("ウサクマ「ウッサーーーマーーー！！！！」"));
  LogLineWait(g, J("そっとしておこう…"));
  return true;
}

bool DeepSea(Game& g) {
  ShowCg(g, "sinkai.bmp");
  PlayWave(g, kChannelUi, "awa.wav");
  LogLineWait(g, J("深海まで潜っちゃった！"));
  if (Ask(g, J("もっと潜る"), J("あがる")) != 1) return true;
  PassTime(g, 1);
  switch (g.rng.Random(9)) {
    case 0: LogLineWait(g, J("何も無かった....")); break;
    case 2:
    case 7:
      ShowCg(g, "sinkai4.bmp");
      LogLineWait(g, J("サメだああああああ"));
      LogLineWait(g, J("ギャアアアアア"));
      TakeDamage(g, kPlayer, g.unit[kPlayer].hp / 2 + 1);
      break;
    case 3:
    case 8:
      ShowCg(g, "sinkai3.bmp");
      LogLineWait(g, J("竜宮城だあああ！！！"));
      GainItem(g, 870);
      break;
    case 4:
      ShowCg(g, "sinkai3.bmp");
      LogLineWait(g, J("裏・竜宮城だあああ！！！"));
      GainItem(g, 871);
      break;
    default:  // 1, 5, 6
      ShowCg(g, "sinkai2.bmp");
      LogLineWait(g, J("何かあるぞ！！"));
      ItemFind(g, 1500);
      LogLineWait(g, J("よしっ"));
      break;
  }
  return true;
}
