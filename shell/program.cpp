// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/program.h"

#include <memory>

#include "core/game.h"
#include "platform/text.h"
#include "shell/startup.h"

int RunGame(Platform& platform) {
  if (!platform.LockSave()) {
    // Two copies on one save would each write their own day over the other's.
    platform.RaiseRunningGame();
    platform.SetWindowTitle(J("ポムリエ"));
    platform.ShowMessage(
        J("ポムリエはもう起動しているよ。\r\n"
          "同じセーブデータで二つ同時には遊べないので、こちらは閉じるね。"));
    return kExitAlreadyRunning;
  }
  // The game state is large; it lives on the heap so the stack stays small.
  auto game = std::make_unique<Game>(platform);
  RunProgram(*game);
  return 0;
}
