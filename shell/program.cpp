#include "shell/program.h"

#include "platform/platform.h"

int RunGame(Platform& platform) {
  platform.ShowWindow();
  while (!platform.Closed()) {
    platform.WaitMessage();
    platform.ProcessMessages();
  }
  return 0;
}
