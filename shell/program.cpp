#include "shell/program.h"

#include <memory>

#include "core/game.h"
#include "shell/startup.h"

int RunGame(Platform& platform) {
  // The game state is large; it lives on the heap so the stack stays small.
  auto game = std::make_unique<Game>(platform);
  RunProgram(*game);
  return 0;
}
