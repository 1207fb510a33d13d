// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/log.h"

#include <array>
#include <utility>

#include "core/game.h"
#include "platform/text.h"
#include "presentation/sound.h"

namespace {

struct Ramp {
  int32_t code;
  int length;
  std::array<Rgb, 12> colours;
};

// clang-format off
constexpr std::array<Rgb, 12> kBlueRamp{{{126, 236, 248}, {100, 232, 247}, {78, 228, 245}, {52, 224, 243},
                                         {31, 220, 241}, {15, 210, 232}, {31, 220, 241}, {52, 224, 243},
                                         {78, 228, 245}, {100, 232, 247}}};

constexpr std::array<Ramp, 11> kRamps{{
    {301, 10, {{{0, 234, 18}, {0, 219, 16}, {0, 191, 15}, {0, 181, 14}, {0, 181, 13}, {0, 181, 12},
                {0, 181, 13}, {0, 181, 14}, {0, 191, 15}, {0, 219, 16}}}},
    {302, 10, {{{255, 232, 0}, {232, 216, 0}, {223, 196, 2}, {223, 173, 2}, {223, 157, 2}, {223, 135, 2},
                {223, 157, 2}, {223, 173, 2}, {223, 196, 2}, {232, 216, 0}}}},
    {303, 10, kBlueRamp},
    {304, 10, {{{255, 90, 181}, {255, 74, 165}, {255, 55, 155}, {255, 21, 138}, {251, 0, 121}, {227, 0, 102},
                {251, 0, 121}, {255, 21, 138}, {255, 55, 155}, {255, 74, 165}}}},
    {305, 10, {{{157, 60, 255}, {189, 92, 255}, {205, 124, 255}, {221, 156, 255}, {237, 172, 255},
                {253, 204, 255}, {237, 172, 255}, {221, 156, 255}, {205, 124, 255}, {189, 92, 255}}}},
    {306, 10, kBlueRamp},
    {307, 10, {{{255, 70, 70}, {255, 38, 38}, {255, 6, 6}, {217, 0, 0}, {196, 0, 0}, {181, 0, 0}, {196, 0, 0},
                {217, 0, 0}, {255, 6, 6}, {255, 38, 38}}}},
    {308, 10, {{{221, 221, 136}, {204, 204, 119}, {187, 187, 102}, {170, 170, 85}, {153, 153, 85},
                {136, 136, 85}, {153, 153, 85}, {170, 170, 85}, {187, 187, 102}, {204, 204, 119}}}},
    {309, 10, {{{153, 70, 70}, {136, 38, 38}, {119, 6, 6}, {102, 0, 0}, {85, 0, 0}, {68, 0, 0}, {85, 0, 0},
                {102, 0, 0}, {119, 6, 6}, {136, 38, 38}}}},
    {310, 8, {{{255, 204, 221}, {255, 187, 204}, {238, 170, 187}, {221, 153, 170}, {204, 136, 153},
               {221, 153, 170}, {238, 170, 187}, {255, 187, 204}}}},
    {312, 12, {{{255, 0, 0}, {255, 153, 0}, {255, 255, 0}, {153, 255, 0}, {0, 255, 0}, {0, 255, 153},
                {0, 255, 255}, {0, 153, 255}, {0, 0, 255}, {153, 0, 255}, {255, 0, 255}, {255, 0, 153}}}},
}};
// clang-format on

constexpr std::array<Rgb, 8> kHoverFlash{
    {{255, 85, 51}, {255, 51, 17}, {255, 0, 0}, {221, 0, 0}, {187, 0, 0}, {153, 0, 0}, {119, 0, 0}, {85, 0, 0}}};

constexpr Rgb kLogBack{136, 68, 85};

int Mod(int a, int n) {
  const int r = a % n;
  return r < 0 ? r + n : r;
}

void Push(Game& g, std::string text, int32_t code) {
  for (int i = kLogSize - 1; i > 0; --i) g.MessageLog[i] = std::move(g.MessageLog[i - 1]);
  g.MessageLog[0] = tmoji_efe{std::move(text), code};
}

// Where a long line is cut: after byte 44, or 43 when byte 44 is the lead byte of a
// double-byte character (a line mixing digits and kana would otherwise show a
// broken character at the end of one row and the start of the next).
size_t SplitPoint(const std::string& text) {
  size_t i = 0;
  while (i < kLogSplitAt) i += IsCp932Lead(static_cast<unsigned char>(text[i])) ? 2 : 1;
  return i > kLogSplitAt ? kLogSplitAt - 1 : kLogSplitAt;
}

void Append(Game& g, std::string text, int32_t code) {
  if (g.WaitState == -1) return;
  if (text.size() % 2 != 0) text += ' ';
  std::deque<tmoji_efe>& kept = g.log.history.lines;
  kept.push_back(tmoji_efe{text, code});
  if (kept.size() > kHistoryLines) kept.pop_front();
  if (text.size() <= kLogLineMax) {
    Push(g, std::move(text), code);
    return;
  }
  const size_t cut = SplitPoint(text);
  Push(g, text.substr(0, cut), code);
  Push(g, J("　") + text.substr(cut), code);
}

const char* const kSelNames[5] = {"", "sel1", "sel2", "sel3", "sel4"};

// Resting place of choice button k: its hit area's bounds, or the window layout.
Point ButtonOrigin(Game& g, int k) {
  if (Widget* w = g.plat.FindWidget(kSelNames[k])) {
    const Rect r = w->Bounds();
    return {r.left, r.top};
  }
  return {200, 199 + 25 * (k - 1)};
}

}  // namespace

int32_t LogColourCode(std::string_view name) {
  static constexpr std::pair<std::string_view, int32_t> kNames[] = {
      {"green", 301}, {"red", 307},    {"blue", 303},    {"blue2", 312},  {"aqua", 306},   {"pink", 304},
      {"pink2", 310}, {"yellow", 302}, {"yellow2", 308}, {"orange", 309}, {"purple", 305},
  };
  for (const auto& [n, code] : kNames)
    if (n == name) return code;
  return kColourUnknown;
}

bool LogRowColour(int32_t code, int frame_plus_row, Rgb* out) {
  if (code == kColourPlain) {
    *out = colors::kWhite;
    return true;
  }
  for (const Ramp& r : kRamps) {
    if (r.code == code) {
      *out = r.colours[Mod(frame_plus_row, r.length)];
      return true;
    }
  }
  return false;
}

Rgb HoverFlashColour(int frame) { return kHoverFlash[Mod(frame, 8)]; }

void LogLine(Game& g, const std::string& text) { Append(g, text, kColourPlain); }

void LogColoured(Game& g, const std::string& text, std::string_view colour_name) {
  Append(g, text, LogColourCode(colour_name));
}

void LogLineWait(Game& g, const std::string& text) {
  Append(g, text, kColourPlain);
  WaitForClick(g);
}

void LogTalkWait(Game& g, const std::string& text) {
  Append(g, text, kColourTalk);
  WaitForClick(g);
}

void ClearLog(Game& g) {
  if (g.WaitState == -1) return;
  // Entry 20 is left as it is; it falls off at the next push.
  for (int i = 0; i < kLogSize - 1; ++i) g.MessageLog[i] = tmoji_efe{};
}

// The nested loop sleeps until an event arrives instead of spinning; ticks and input
// are dispatched from inside it exactly as from the top-level loop.
void WaitForClick(Game& g) {
  if (g.WaitState == -1) return;
  g.WaitState = 0;
  while (g.WaitState == 0 && !g.plat.Closed()) {
    g.plat.WaitMessage();
    g.plat.ProcessMessages();
  }
}

int32_t AskChoice(Game& g, const std::string& c1, const std::string& c2, const std::string& c3, const std::string& c4) {
  if (g.WaitState == -1) return g.ChoiceResult;
  g.ChoiceResult = 0;
  g.log.ChoiceResultCaption.clear();
  g.ChoiceCaption[1] = c1;
  g.ChoiceCaption[2] = c2;
  g.ChoiceCaption[3] = c3;
  g.ChoiceCaption[4] = c4;
  g.log.ChoiceSlide = -200;
  g.ChoicePending = 1;
  g.log.ChoiceActive = 1;
  while (g.ChoicePending == 1 && g.WaitState != -1 && !g.plat.Closed()) {
    g.plat.WaitMessage();
    g.plat.ProcessMessages();
  }
  // Nothing blocks any more, also when the loop ended on a closed window.
  g.ChoicePending = 0;
  return g.ChoiceResult;
}

bool ReleaseClickWait(Game& g) {
  if (g.ChoicePending == 1) return false;
  const bool released = g.WaitState == 0;
  // A closing window stays closing: scripts still draining must not block again.
  if (g.WaitState != -1) g.WaitState = 1;
  return released;
}

void StartCancelBlink(Game& g) { g.log.CancelBlink = kCancelBlinkTicks; }

void DrawMessageLog(Game& g, Canvas& c) {
  if (IsShown(g, "bp_box")) return;
  for (int i = 0; i < kLogRows; ++i) {
    const tmoji_efe& e = g.MessageLog[i];
    if (e.text.empty()) continue;
    const int x = 2;
    const int y = 285 - 13 * i;
    c.brush_style = BrushStyle::Solid;
    c.brush_color = kLogBack;
    c.pen_color = kLogBack;
    c.font.size = 9;
    c.font.bold = true;
    const int w = c.TextWidth(e.text);
    c.Ellipse(x + w - 10, y, x + w + 9, y + 12);  // rounded right end
    c.Rectangle(x - 10, y, x, y + 12);            // square left end
    Rgb colour;
    if (LogRowColour(e.color, g.FrameCounter + i, &colour)) c.font.color = colour;
    c.TextOut(x, y, e.text);
    c.font.size = 10;
  }
}

void StepChoiceButtons(Game& g) {
  if (g.GamePhase < 0) return;
  LogState& s = g.log;
  if (s.ChoiceSlide < 0 && s.ChoiceActive == 1) {
    s.ChoiceSlide += -s.ChoiceSlide / 2 + 1;
  } else if (s.ChoiceSlide > -300 && s.ChoiceActive == 0) {
    const int a = s.ChoiceSlide < 0 ? -s.ChoiceSlide : s.ChoiceSlide;
    s.ChoiceSlide -= (300 - a) / 2 + 1;
  }
  if (s.CancelBlink > 0) --s.CancelBlink;
}

void DrawChoiceButtons(Game& g, Canvas& c) {
  if (g.GamePhase < 0) return;
  const LogState& s = g.log;
  // The cancel blink hides the buttons on every other tick while it runs (odd ticks left).
  const bool show_buttons = s.CancelBlink % 2 == 0;

  c.brush_style = BrushStyle::Solid;
  c.brush_color = colors::kBlack;
  c.pen_color = colors::kWhite;
  c.font.size = 10;
  c.font.bold = true;
  for (int k = 1; k <= 4 && show_buttons; ++k) {
    const std::string& caption = g.ChoiceCaption[k];
    if (caption.empty()) continue;
    const Point o = ButtonOrigin(g, k);
    const int x = o.x - 2 * s.ChoiceSlide;
    const int y = o.y;
    c.font.color = s.HoveredChoice == k ? HoverFlashColour(g.FrameCounter) : colors::kWhite;
    c.Rectangle(x, y, x + 101, y + 26);
    const int h = c.TextHeight(caption);
    c.TextOut(x + 5, y + 12 - h / 2, caption);
  }

  if (g.WaitState == 0 && !IsShown(g, "bp_box")) {
    c.font.color = colors::kWhite;
    c.font.size = 8;
    const int w = c.TextWidth("CLICK");
    c.TextOut(300 - w, 290, "CLICK");
    c.font.size = 10;
  }
}

void SelMouseMove(Game& g, int k, int /*x*/, int /*y*/) {
  if (k < 1 || k > 4) return;
  if (g.GamePhase >= 0 && g.log.ChoiceActive != 0) {
    if (g.log.HoveredChoice != k && !g.ChoiceCaption[k].empty()) PlayWave(g, kChannelUi, "key.wav");
    g.log.HoveredChoice = k;
  }
}

bool SelMouseDown(Game& g, int k, MouseButton button) {
  if (k < 1 || k > 4 || button != MouseButton::Left) return false;
  const bool picking = g.GamePhase >= 0 && g.log.ChoiceActive == 1 && g.ChoicePending == 1;
  if (!picking || IsShown(g, "bp_box")) return false;
  if (g.ChoiceCaption[k].empty()) return true;  // a gap in the choice
  PlayWave(g, kChannelClick, "c.wav");
  g.log.ChoiceActive = 0;
  g.ChoicePending = 0;
  g.ChoiceResult = k;
  g.log.ChoiceResultCaption = g.ChoiceCaption[k];
  g.WaitState = 1;
  return true;
}
