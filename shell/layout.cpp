#include "shell/layout.h"

#include <string>

#include "platform/text.h"
#include "presentation/screen.h"
#include "shell/game.h"

namespace {

void AddImage(Platform& p, const char* name, bool visible) {
  WidgetSpec s;
  s.name = name;
  s.kind = WidgetKind::Image;
  s.width = kClientSize;
  s.height = kClientSize;
  s.visible = visible;
  p.CreateWidget(s);
}

}  // namespace

void CreateMainWindow(Game& g) {
  Platform& p = g.plat;
  p.SetWindowTitle(J("ポムリエ"));
  p.SetWindowIcon(p.ExeDir() + "cg/" + kIconFile);

  // Off-screen canvases first, then the picture, then the hit areas over it.
  AddImage(p, "bak", false);
  AddImage(p, "bak2", false);
  AddImage(p, "haikei", false);
  AddImage(p, "cg", true);
  for (int k = 1; k <= 4; ++k) {
    WidgetSpec s;
    s.name = "sel" + std::to_string(k);
    s.kind = WidgetKind::HitArea;
    s.left = kChoiceLeft;
    s.top = kChoiceTops[k - 1];
    s.width = kChoiceWidth;
    s.height = kChoiceHeight;
    s.visible = false;
    p.CreateWidget(s);
  }
  CreatePanelWidgets(g);
}

void ShowChoiceAreas(Game& g, bool visible) {
  for (int k = 1; k <= 4; ++k) {
    if (Widget* w = g.plat.FindWidget("sel" + std::to_string(k))) w->SetVisible(visible);
  }
}
