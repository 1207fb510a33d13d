// SPDX-License-Identifier: GPL-3.0-or-later
// The cave: the pit, the writing on the wall and the dragon's presence.
#include "battle/battle.h"
#include "battle/hp.h"
#include "core/game.h"
#include "field/inscriptions.h"
#include "field/scenes.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"

namespace {

constexpr int kDragon = 35;

}  // namespace

bool Pit(Game& g) {
  ShowCg(g, "otosi.bmp");
  PlayWave(g, kChannelUi, "holl.wav");
  TakeDamage(g, kPlayer, g.unit[kPlayer].hp / 2);
  LogLineWait(g, J("痛っーーーー！"));
  LogLineWait(g, J("穴に落ちてしまった...."));
  return true;
}

bool WallInscription(Game& g) {
  ShowCg(g, "d_mes.bmp");
  LogLineWait(g, J("？…壁に何か書いてある…"));
  for (const char* line : InscriptionAt(g.rng.Random(kInscriptionCount))) LogLineWait(g, J(line));
  return true;
}

bool DragonPresence(Game& g) {
  LogLineWait(g, J("？…何かいやな気配がする…"));
  switch (g.rng.Random(3)) {
    case 0:
      PlayWave(g, kChannelNews, "dragon.wav");
      Encounter(g, kDragon);
      return false;
    case 1: LogLineWait(g, J("気のせいだったみたい")); break;
    default: LogLineWait(g, J("今朝見た夢のせいだったみたい")); break;
  }
  return true;
}
