// SPDX-License-Identifier: GPL-3.0-or-later
// Our own texts measured in the real face (the headless widths are a model): every row the
// log makes of an owl doctor's line or a cave inscription stands whole in the window.
#include <gtest/gtest.h>

#include "core/game.h"
#include "field/inscriptions.h"
#include "field/owl_lines.h"
#include "platform/qt/qt_platform.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "shell/layout.h"

TEST(QtTextFit, OwlLinesAndInscriptionsFitTheWindow) {
  QtPlatform p;
  Game g(p);
  CreateMainWindow(g);
  CreateSurfaces(g);
  std::vector<const char*> lines;
  for (int s = 0; s < kOwlStages; ++s) {
    for (const char* l : OwlLines(OwlStageAt(s).before)) lines.push_back(l);
    for (const char* l : OwlLines(OwlStageAt(s).after)) lines.push_back(l);
  }
  for (int k = 0; k < kInscriptionCount; ++k)
    for (const char* l : InscriptionAt(k)) lines.push_back(l);
  ASSERT_GT(lines.size(), 80u);
  Canvas& c = g.screen.cg->canvas();
  c.font.size = 9;
  c.font.bold = true;
  for (const char* line : lines) {
    ClearLog(g);
    LogLine(g, J(line));
    // A row is drawn at x 2 and its band runs 9 px past the text.
    for (int row = 0; row < 2; ++row) EXPECT_LE(c.TextWidth(g.MessageLog[row].text), 300 - 2 - 9) << line;
  }
}
