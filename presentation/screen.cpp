#include "presentation/screen.h"

#include <algorithm>
#include <string>

#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/panel.h"
#include "shell/game.h"

namespace {

constexpr Rect kFull{0, 0, kScreenSize, kScreenSize};

// The picture of an image widget of the window, or a picture of our own when the
// window has no such widget.
Picture* WidgetPictureOr(Game& g, const char* name, std::unique_ptr<Picture>& own) {
  if (Widget* w = g.plat.FindWidget(name)) {
    if (Picture* p = w->picture()) return p;
  }
  if (!own) own = g.plat.CreatePicture(kScreenSize, kScreenSize);
  return own.get();
}

// Copies as much of src's rectangle as lies inside both pictures.
void CopyClipped(Canvas& dst_canvas, int dst_w, int dst_h, int dx, int dy, const Picture& src, int sx, int sy,
                 int w, int h, CopyMode mode) {
  if (sx < 0) { dx -= sx; w += sx; sx = 0; }
  if (sy < 0) { dy -= sy; h += sy; sy = 0; }
  if (dx < 0) { sx -= dx; w += dx; dx = 0; }
  if (dy < 0) { sy -= dy; h += dy; dy = 0; }
  w = std::min({w, src.Width() - sx, dst_w - dx});
  h = std::min({h, src.Height() - sy, dst_h - dy});
  if (w <= 0 || h <= 0) return;
  dst_canvas.CopyRect(Rect{dx, dy, dx + w, dy + h}, src, Rect{sx, sy, sx + w, sy + h}, mode);
}

void DrawAt(Picture& dst, const Picture& src) {
  CopyClipped(dst.canvas(), dst.Width(), dst.Height(), 0, 0, src, 0, 0, src.Width(), src.Height(),
              CopyMode::Copy);
}

// White where the picture is black, black elsewhere, drawn row by row in runs.
std::unique_ptr<Picture> MakeMask(Platform& p, const Picture& src) {
  auto mask = p.CreatePicture(src.Width(), src.Height());
  Canvas& c = mask->canvas();
  c.brush_style = BrushStyle::Solid;
  c.brush_color = colors::kWhite;
  for (int y = 0; y < src.Height(); ++y) {
    int x = 0;
    while (x < src.Width()) {
      if (src.Pixel(x, y) != colors::kBlack) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < src.Width() && src.Pixel(x, y) == colors::kBlack) ++x;
      c.FillRect(Rect{start, y, x, y + 1});
    }
  }
  return mask;
}

void DrawFrameShake(Game& g) {
  ScreenState& s = g.screen;
  if (s.ShakeCounter < 1) return;
  s.ShakeCounter -= 1;
  const int d = g.rng.Random(9) - 4;
  // cg onto itself, moved down by d (up when d is negative).
  CopyClipped(s.cg->canvas(), kScreenSize, kScreenSize, 0, d, *s.cg, 0, 0, kScreenSize, kScreenSize + d,
              CopyMode::Copy);
}

}  // namespace

Picture* Background(Game& g) { return g.screen.PictureSlots[kBackgroundSlot].get(); }

void CreateSurfaces(Game& g) {
  ScreenState& s = g.screen;
  s.cg = WidgetPictureOr(g, "cg", s.own_cg);
  s.bak = WidgetPictureOr(g, "bak", s.own_bak);

  const std::string first = g.plat.ExeDir() + "cg/00.bmp";
  for (int i = 0; i < kWorkSlots; ++i) {
    std::unique_ptr<Picture> pic;
    if (i == 0 || i == kBackgroundSlot) {
      pic = g.plat.LoadPicture(first);
      if (!pic) pic = g.plat.CreatePicture(kScreenSize, kScreenSize);
    } else {
      pic = g.plat.CreatePicture(1, 1);  // an empty work picture
    }
    s.PictureSlots[i] = std::move(pic);
    s.PictureSlots[kMaskBase + i] = g.plat.CreatePicture(1, 1);
  }
  s.PictureSlots[kMaskBase] = MakeMask(g.plat, *s.PictureSlots[0]);
}

void CutSpriteFrames(Game& g) {
  ScreenState& s = g.screen;
  for (int n = 1; n <= kSpriteSetsCut; ++n) {
    const tman& m = g.monster[n];
    if (m.name.empty()) continue;
    const int side = 2 * m.size;
    if (side <= 0) continue;
    auto strip = g.plat.LoadPicture(g.plat.ExeDir() + "cg/man" + Num(n) + ".bmp");
    if (!strip) continue;
    for (int i = 0; i < kSpriteFrames; ++i) {
      auto frame = g.plat.CreatePicture(side, side);
      CopyClipped(frame->canvas(), side, side, 0, 0, *strip, side * i, 0, side, side, CopyMode::Copy);
      s.PictureSlots[kSpriteBase + kSpriteFrames * n + i] = std::move(frame);
    }
  }
}

void ShowCg(Game& g, const std::string& name) {
  auto pic = g.plat.LoadPicture(g.plat.ExeDir() + "cg/" + name);
  if (!pic) return;  // the old scene stays
  if (Picture* back = Background(g)) DrawAt(*back, *pic);
  g.screen.haikei = std::move(pic);
}

void DrawEnemy(Game& g) {
  ScreenState& s = g.screen;
  if (s.EnemyBlinkCounter >= 1) {
    s.EnemyBlinkCounter -= 1;
    if (s.EnemyBlinkCounter % 2 == 0) return;
  }
  if (g.foe_index < 0 || g.foe_index >= kUnitCount) return;
  const tman& u = g.unit[g.foe_index];
  if (u.map_active == 0 && s.EnemyBlinkCounter == 0) return;
  if (u.map_kind < 0 || u.map_kind >= kMonsterCount) return;
  const Picture* frame = s.PictureSlots[kSpriteBase + kSpriteFrames * u.map_kind + g.FrameCounter % kSpriteFrames].get();
  if (!frame) return;
  const int b = 2 * u.size;
  s.cg->canvas().StretchDrawTransparent(Rect{150 - b, 150 - b, 150 + b, 150 + b}, *frame);
}

void DrawFrame(Game& g) {
  ScreenState& s = g.screen;
  if (!s.cg || !s.bak) return;
  Canvas& c = s.cg->canvas();
  if (Picture* back = Background(g)) DrawAt(*s.cg, *back);

  Canvas& b = s.bak->canvas();
  b.brush_style = BrushStyle::Solid;
  b.brush_color = colors::kBlack;
  b.pen_color = colors::kBlack;
  b.Rectangle(-1, -1, kScreenSize + 1, kScreenSize + 1);

  if (g.in_battle == 1) DrawEnemy(g);
  DrawMessageLog(g, c);
  DrawEffects(g);
  if (g.GamePhase >= 0 || IsShown(g, "bp_box")) {
    DrawStatusPanel(g);
    DrawChoiceButtons(g, c);
  }
  c.CopyRect(kFull, *s.bak, kFull, CopyMode::Or);
  DrawFrameShake(g);
}

// ---------------------------------------------------------------------------------
// Panels

namespace {

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

void AddLabel(Platform& p, const char* name, const char* parent, Place at, const std::string& caption,
              int font_px, Rgb colour) {
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

}  // namespace

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
  AddLabel(p, "item_l3", "item_box", {212, 140, 85, 101}, "", 12, colors::kWhite);
  AddImage(g, "l_btn13_cg", "item_box", {211, 242, 89, 27}, kSmallButtonPicture);
  AddButton(p, "l_btn13", "item_box", {212, 243, 85, 25}, "RESET");
  AddImage(g, "l_btn12_cg", "item_box", {211, 270, 89, 29}, kSmallButtonPicture);
  AddButton(p, "l_btn12", "item_box", {212, 272, 85, 25}, J("調理開始"));
}
