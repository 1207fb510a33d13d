#include "shell/keys.h"

#include "platform/events.h"
#include "presentation/sound.h"
#include "shell/game.h"
#include "shell/title.h"

void FormKeyDown(Game& g, int key) {
  switch (key) {
    case vk::kReturn:
      if (g.GamePhase <= -1) ClickAt(g, 0, 0, false);
      break;
    case vk::kSpace:
      if (g.GamePhase == 0) {
        PlayWave(g, 2, "1.wav");
        g.shell.DrawPaused = 1 - g.shell.DrawPaused;
      }
      break;
    case vk::kF1:
      if (g.GamePhase == -2) ResetDialog(g);
      break;
    default:
      break;
  }
}
