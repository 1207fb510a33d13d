// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/layout.h"

#include <string>

#include "core/game.h"
#include "platform/text.h"

namespace {

// A full-size picture of the main window.
void AddSurface(Platform& p, const char* name, bool visible) {
  WidgetSpec s;
  s.name = name;
  s.kind = WidgetKind::Image;
  s.width = kClientSize;
  s.height = kClientSize;
  s.visible = visible;
  p.CreateWidget(s);
}

struct Place {
  int left, top, width, height;
};

WidgetSpec Layout(const char* name, WidgetKind kind, const char* parent, Place at) {
  WidgetSpec s;
  s.name = name;
  s.kind = kind;
  s.parent = parent;
  s.left = at.left;
  s.top = at.top;
  s.width = at.width;
  s.height = at.height;
  return s;
}

void AddPanel(Platform& p, const char* name, const char* parent, Place at) {
  WidgetSpec s = Layout(name, WidgetKind::Panel, parent, at);
  s.visible = false;
  p.CreateWidget(s);
}

void AddImage(Game& g, const char* name, const char* parent, Place at, const char* picture) {
  WidgetSpec s = Layout(name, WidgetKind::Image, parent, at);
  s.picture_path = g.plat.ExeDir() + "cg/" + picture;
  s.stretch = true;
  g.plat.CreateWidget(s);
}

void AddLabel(Platform& p, const char* name, const char* parent, Place at, const std::string& caption, int font_px,
              Rgb colour) {
  WidgetSpec s = Layout(name, WidgetKind::Label, parent, at);
  s.caption = caption;
  s.font_px = font_px;
  s.bold = true;
  s.font_color = colour;
  p.CreateWidget(s);
}

// Label buttons start black; the hover highlight turns the one under the mouse white.
void AddButton(Platform& p, const char* name, const char* parent, Place at, const std::string& caption) {
  AddLabel(p, name, parent, at, caption, 15, colors::kBlack);
}

// The widgets of bp_box (character creation) and item_box (item list and cooking),
// hidden, laid out as the window's design fixes them.
void CreatePanelWidgets(Game& g) {
  Platform& p = g.plat;

  // Character creation. Each picture is created before the label it carries.
  AddPanel(p, "bp_box", "", {0, 0, 301, 301});
  AddImage(g, "bp_back", "bp_box", {0, 28, 301, 273}, kPanelBackPicture);
  AddImage(g, "bp_title_cg", "bp_box", {2, 3, 295, 28}, kTitleBarPicture);
  AddLabel(p, "bp_l", "bp_box", {4, 4, 293, 25}, J("いろいろすること"), 12, colors::kWhite);
  struct Stat {
    const char* label;
    const char* image;
    const char* caption;
    Place at, image_at;
  };
  const Stat stats[] = {
      {"l_btn1", "l_btn1_cg", "力", {76, 128, 69, 25}, {72, 124, 77, 29}},
      {"l_btn2", "l_btn2_cg", "防御", {156, 128, 69, 25}, {152, 124, 77, 29}},
      {"l_btn3", "l_btn3_cg", "魔法", {76, 158, 69, 25}, {72, 156, 77, 29}},
      {"l_btn4", "l_btn4_cg", "精神", {156, 158, 69, 25}, {152, 156, 77, 29}},
      {"l_btn5", "l_btn5_cg", "命中率", {76, 190, 69, 25}, {72, 188, 77, 29}},
      {"l_btn6", "l_btn6_cg", "回避率", {156, 190, 69, 25}, {152, 188, 77, 29}},
  };
  for (const Stat& st : stats) {
    AddImage(g, st.image, "bp_box", st.image_at, kStatButtonPicture);
    AddButton(p, st.label, "bp_box", st.at, J(st.caption));
  }
  AddImage(g, "l_btn7_cg", "bp_box", {2, 270, 107, 29}, kWideButtonPicture);
  AddButton(p, "l_btn7", "bp_box", {8, 272, 93, 25}, "RESET");
  AddImage(g, "l_btn8_cg", "bp_box", {192, 270, 107, 29}, kWideButtonPicture);
  AddButton(p, "l_btn8", "bp_box", {196, 272, 97, 25}, "OK");
  AddPanel(p, "name_box", "bp_box", {56, 64, 189, 49});
  AddLabel(p, "name_caption", "name_box", {4, 28, 45, 15}, J("なまえ"), 15, colors::kWhite);
  {
    WidgetSpec s = Layout("name_l", WidgetKind::TextField, "name_box", {52, 24, 129, 21});
    s.font_px = 15;
    // A plain white edit box: on the black name panel a black field would be invisible
    // until it has the focus.
    s.background = colors::kWhite;
    s.font_color = colors::kBlack;
    p.CreateWidget(s);
  }

  // The item box: list, details, action buttons and the cooking column.
  AddPanel(p, "item_box", "", {0, 0, 302, 301});
  AddImage(g, "Label8_cg", "item_box", {2, 3, 108, 28}, kTitleBarPicture);
  AddLabel(p, "Label8", "item_box", {4, 4, 105, 25}, J("アイテム"), 12, colors::kWhite);
  {
    WidgetSpec s = Layout("item_list", WidgetKind::ListBox, "item_box", {112, 4, 97, 265});
    s.font_px = 12;
    p.CreateWidget(s);
  }
  AddImage(g, "item_l_cg", "item_box", {0, 32, 113, 237}, kDetailPicture);
  AddLabel(p, "item_l", "item_box", {4, 40, 105, 229}, "", 12, colors::kWhite);
  AddImage(g, "l_btn10_cg", "item_box", {2, 270, 107, 29}, kWideButtonPicture);
  AddButton(p, "l_btn10", "item_box", {4, 272, 105, 25}, "");
  AddImage(g, "l_btn9_cg", "item_box", {112, 270, 97, 29}, kWideButtonPicture);
  AddButton(p, "l_btn9", "item_box", {111, 272, 96, 25}, ">BACK");
  AddImage(g, "cook_cg", "item_box", {208, 32, 93, 209}, kCookColumnPicture);
  AddImage(g, "l_btn11_cg", "item_box", {211, 3, 89, 29}, kSmallButtonPicture);
  AddButton(p, "l_btn11", "item_box", {212, 4, 85, 25}, J("レシピ追加"));
  AddLabel(p, "item_l2", "item_box", {212, 32, 85, 109}, "", 12, colors::kWhite);
  // The previous recipe takes eight lines, and a long product name wraps onto a ninth.
  // The face steps 13 px a line at 12 px, so the label ends at the column's foot and
  // reaches up over the recipe label's unused bottom (its own first line is blank).
  // Names longer still are narrowed by the label itself to stay inside.
  AddLabel(p, "item_l3", "item_box", {212, 124, 85, 117}, "", 12, colors::kWhite);
  AddImage(g, "l_btn13_cg", "item_box", {211, 242, 89, 27}, kSmallButtonPicture);
  AddButton(p, "l_btn13", "item_box", {212, 243, 85, 25}, "RESET");
  AddImage(g, "l_btn12_cg", "item_box", {211, 270, 89, 29}, kSmallButtonPicture);
  AddButton(p, "l_btn12", "item_box", {212, 272, 85, 25}, J("調理開始"));
}

}  // namespace

void CreateMainWindow(Game& g) {
  Platform& p = g.plat;
  p.SetWindowTitle(J("ポムリエ"));
  p.SetWindowIcon(p.ExeDir() + "cg/" + kIconFile);

  // Off-screen canvases first, then the picture, then the hit areas over it.
  AddSurface(p, "bak", false);
  AddSurface(p, "bak2", false);
  AddSurface(p, "haikei", false);
  AddSurface(p, "cg", true);
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
