// SPDX-License-Identifier: GPL-3.0-or-later
// The page's program: the game on the browser's platform. The page has mounted the
// player's folder and loaded the face before main() runs (pomurie-page.js).
#include <emscripten.h>

#include "platform/web/web_platform.h"
#include "shell/program.h"

EM_JS(int, web_lockstep, (), { return PomurieWeb.lockstep ? 1 : 0; });

int main() {
  WebPlatform platform(web_lockstep() != 0);
  return RunGame(platform);
}
