// Our own texts in the real face: every row the log makes of an owl doctor's line or
// a cave inscription stands whole in the window, its rounded band included. Measured
// with the painter's own metrics, which only this platform has (the headless canvas's
// widths are a model).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "field/inscriptions.h"
#include "field/owl_lines.h"
#include "platform/qt/qt_platform.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "shell/game.h"
#include "shell/layout.h"

namespace {

TEST(QtTextFit, OwlLinesAndInscriptionsFitTheWindow) {
  QtPlatform p;
  Game g(p);
  CreateMainWindow(g);
  CreateSurfaces(g);
  Canvas& c = g.screen.cg->canvas();
  c.font.bold = true;

  std::vector<const char*> lines;
  for (int s = 0; s < kOwlStages; ++s) {
    for (const char* l : OwlLines(OwlStageAt(s).before)) lines.push_back(l);
    for (const char* l : OwlLines(OwlStageAt(s).after)) lines.push_back(l);
  }
  for (int k = 0; k < kInscriptionCount; ++k)
    for (const char* l : InscriptionAt(k)) lines.push_back(l);
  ASSERT_GT(lines.size(), 80u);

  // A log row is drawn at x 2 with its band running 9 px past the text.
  constexpr int kRoom = 300 - 2 - 9;
  for (const char* line : lines) {
    ClearLog(g);
    LogLine(g, J(line));
    c.font.size = 9;
    for (int row = 0; row < 2; ++row)
      EXPECT_LE(c.TextWidth(g.MessageLog[row].text), kRoom) << line << " (row " << row << ")";
  }
}

}  // namespace
