// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/history.h"

#include <algorithm>
#include <string_view>

#include "core/game.h"
#include "platform/events.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"

namespace {

constexpr Rect kFull{0, 0, kScreenSize, kScreenSize};
constexpr int kRowHeight = 13;    // the log's row pitch
constexpr int kBottomRowY = 285;  // the newest row sits where the log's newest does
constexpr int kHeaderHeight = 18;
constexpr int kBarLeft = 293, kBarRight = 298;
constexpr Rgb kBand{136, 68, 85};  // the log rows' band
constexpr Rgb kBarTrack{68, 34, 42};
constexpr Rgb kBarThumb{221, 153, 170};  // the talk lines' pink, bright on the dimmed scene

constexpr int kRowFontSize = 9;  // the log's, bold

size_t CharLength(const std::string& s, size_t i) {
  return IsCp932Lead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// A single-byte character of a word ("+50%", "Lv12"); rows break between words only.
bool WordByte(const std::string& s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  return c > ' ' && c < 0x7F && (i == 0 || !IsCp932Lead(static_cast<unsigned char>(s[i - 1])));
}

// Characters a row should not begin with (closing marks, the long vowel, the ellipsis).
bool ClosesPhrase(std::string_view ch) {
  static const std::string kClosers[] = {J("、"), J("。"), J("」"), J("』"), J("）"), J("！"), J("？"), J("…"), J("ー"),
                                         J("．"), J("，"), J("】"), J("♪"),  ")",     "!",     "?",     ".",    ","};
  return std::find(std::begin(kClosers), std::end(kClosers), ch) != std::end(kClosers);
}

std::unique_ptr<Picture> CopyOf(Game& g, const Picture& src) {
  auto pic = g.plat.CreatePicture(kScreenSize, kScreenSize);
  pic->canvas().CopyRect(kFull, src, kFull, CopyMode::Copy);
  return pic;
}

// The picture at 35 % brightness: the scene stays recognisable behind the text.
std::unique_ptr<Picture> Dimmed(Game& g, const Picture& src) {
  auto pic = g.plat.CreatePicture(kScreenSize, kScreenSize);
  Canvas& c = pic->canvas();
  c.brush_style = BrushStyle::Solid;
  auto dim = [](Rgb p) { return Rgb(p.r * 7 / 20, p.g * 7 / 20, p.b * 7 / 20); };
  const int w = std::min(src.Width(), kScreenSize), h = std::min(src.Height(), kScreenSize);
  c.brush_color = colors::kBlack;
  c.FillRect(kFull);
  for (int y = 0; y < h; ++y) {
    int x = 0;
    while (x < w) {  // runs of one colour, so a plain scene costs a few fills a row
      const Rgb p = src.Pixel(x, y);
      const int start = x;
      while (x < w && src.Pixel(x, y) == p) ++x;
      c.brush_color = dim(p);
      c.FillRect(Rect{start, y, x, y + 1});
    }
  }
  return pic;
}

void WrapLines(Game& g) {
  LogHistory& h = g.log.history;
  Canvas& c = g.screen.cg->canvas();
  const Font saved = c.font;
  c.font.size = kRowFontSize;
  c.font.bold = true;
  h.rows.clear();
  for (const tmoji_efe& line : h.lines) {
    bool continued = false;
    for (std::string& row : WrapText(c, line.text, kHistoryTextRight - kHistoryTextLeft, kHistoryIndent)) {
      h.rows.push_back(HistoryRow{std::move(row), line.color, continued});
      continued = true;
    }
  }
  c.font = saved;
}

void RefreshCg(Game& g) {
  if (Widget* w = g.plat.FindWidget("cg")) w->Refresh();
}

// Draws at once, so a scroll shows before the next tick.
void Redraw(Game& g) {
  DrawHistory(g);
  RefreshCg(g);
}

void DrawHeader(Canvas& c, const LogHistory& h, int max_scroll) {
  c.brush_style = BrushStyle::Solid;
  c.brush_color = kBand;
  c.FillRect(Rect{0, 0, kScreenSize, kHeaderHeight - 2});
  c.brush_style = BrushStyle::Clear;
  c.font.bold = true;
  c.font.size = kRowFontSize;
  c.font.color = colors::kWhite;
  c.TextOut(kHistoryTextLeft, 2, J("メッセージ履歴"));
  c.font.size = 8;
  c.font.color = Rgb(255, 204, 221);
  const std::string hint = h.scroll > 0     ? J("↑↓ Home End　Esc:もどる")
                           : max_scroll > 0 ? J("↑:さかのぼる　Esc:もどる")
                                            : J("Esc・クリック:もどる");
  c.TextOut(kScreenSize - 4 - c.TextWidth(hint), 3, hint);
}

void DrawScrollBar(Canvas& c, const LogHistory& h, int max_scroll) {
  if (max_scroll <= 0) return;
  const int top = kBottomRowY - kRowHeight * (kHistoryVisibleRows - 1), bottom = kBottomRowY + kRowHeight - 1;
  const int track = bottom - top;
  const int total = static_cast<int>(h.rows.size());
  const int thumb = std::max(6, track * kHistoryVisibleRows / total);
  // scroll 0 puts the thumb at the bottom, the largest scroll at the top.
  const int y = top + (track - thumb) * (max_scroll - h.scroll) / max_scroll;
  c.brush_style = BrushStyle::Solid;
  c.brush_color = kBarTrack;
  c.FillRect(Rect{kBarLeft, top, kBarRight, bottom});
  c.brush_color = kBarThumb;
  c.FillRect(Rect{kBarLeft, y, kBarRight, y + thumb});
}

}  // namespace

std::vector<std::string> WrapText(Canvas& c, const std::string& text, int width, int indent) {
  std::vector<std::string> rows;
  size_t start = 0;
  while (start < text.size()) {
    const int room = rows.empty() ? width : width - indent;
    // The longest run of whole characters that fits (always at least one).
    size_t end = start + CharLength(text, start);
    std::vector<size_t> breaks{end};
    while (end < text.size()) {
      const size_t next = end + CharLength(text, end);
      if (c.TextWidth(std::string_view(text).substr(start, next - start)) > room) break;
      end = next;
      breaks.push_back(end);
    }
    if (end < text.size() && breaks.size() > 1 &&
        ClosesPhrase(std::string_view(text).substr(end, CharLength(text, end))))
      end = breaks[breaks.size() - 2];  // carry the last character over with its closer
    if (end < text.size() && WordByte(text, end) && WordByte(text, end - 1)) {
      size_t word = end - 1;
      while (word > start && WordByte(text, word - 1)) --word;
      if (word > start) end = word;  // the whole word goes down, unless it fills the row alone
    }
    rows.push_back(text.substr(start, end - start));
    start = end;
  }
  if (rows.empty()) rows.emplace_back();  // a blank line stays a blank row
  return rows;
}

bool HistoryOpen(const Game& g) { return g.log.history.open; }

int HistoryMaxScroll(const Game& g) {
  return std::max(0, static_cast<int>(g.log.history.rows.size()) - kHistoryVisibleRows);
}

bool OpenHistory(Game& g) {
  LogHistory& h = g.log.history;
  if (h.open || g.GamePhase < 0 || g.WaitState == -1 || g.plat.Closed() || !g.screen.cg) return false;
  if (IsShown(g, "bp_box") || IsShown(g, "item_box")) return false;
  h.scene = CopyOf(g, *g.screen.cg);
  // Behind the rows lies the scene alone: the log, panel and buttons dimmed beneath
  // would show through the text.
  const Picture* back = Background(g);
  h.under = Dimmed(g, back ? *back : *h.scene);
  WrapLines(g);
  h.scroll = 0;
  h.open = true;
  Redraw(g);
  return true;
}

void CloseHistory(Game& g) {
  LogHistory& h = g.log.history;
  if (!h.open) return;
  h.open = false;
  h.rows.clear();
  // The picture as it stood (composing anew here would move the scene a tick on);
  // the next tick composes it as usual.
  if (h.scene && g.screen.cg) {
    g.screen.cg->canvas().CopyRect(kFull, *h.scene, kFull, CopyMode::Copy);
    RefreshCg(g);
  }
  h.scene.reset();
  h.under.reset();
}

void ScrollHistory(Game& g, int rows) {
  LogHistory& h = g.log.history;
  if (!h.open) return;
  if (rows < 0 && h.scroll == 0) {
    CloseHistory(g);
    return;
  }
  h.scroll = std::clamp(h.scroll + rows, 0, HistoryMaxScroll(g));
  Redraw(g);
}

void HistoryWheel(Game& g, int steps) {
  if (steps == 0) return;
  if (!HistoryOpen(g)) {
    if (steps < 0 || !OpenHistory(g)) return;
    --steps;  // the notch that opened it
  }
  if (steps != 0) ScrollHistory(g, steps * kHistoryWheelRows);
}

bool HistoryKey(Game& g, int key) {
  if (!HistoryOpen(g)) return false;
  const int page = kHistoryVisibleRows - 1;
  switch (key) {
    case vk::kUp: ScrollHistory(g, 1); return true;
    case vk::kDown: ScrollHistory(g, -1); return true;
    case vk::kPageUp: ScrollHistory(g, page); return true;
    case vk::kPageDown: ScrollHistory(g, -page); return true;
    case vk::kHome:
      g.log.history.scroll = HistoryMaxScroll(g);
      Redraw(g);
      return true;
    case vk::kEnd:
      g.log.history.scroll = 0;
      Redraw(g);
      return true;
    case vk::kEscape:
    case vk::kReturn:
    case vk::kH: CloseHistory(g); return true;
    case vk::kSpace:
    case vk::kF1:
    case vk::k1:
    case vk::k1 + 1:
    case vk::k1 + 2:
    case vk::k1 + 3: return true;  // these would act on the game beneath
    default: return false;         // sound, picture size, full screen and the like go on
  }
}

void DrawHistory(Game& g) {
  LogHistory& h = g.log.history;
  if (!h.open || !g.screen.cg || !h.under) return;
  Canvas& c = g.screen.cg->canvas();
  const Font saved_font = c.font;
  const BrushStyle saved_brush = c.brush_style;
  c.CopyRect(kFull, *h.under, kFull, CopyMode::Copy);
  DrawHeader(c, h, HistoryMaxScroll(g));

  c.brush_style = BrushStyle::Clear;
  c.font.size = kRowFontSize;
  c.font.bold = true;
  const int total = static_cast<int>(h.rows.size());
  const int newest = total - 1 - h.scroll;
  const int shown = std::min(kHistoryVisibleRows, newest + 1);
  // Top to bottom, so a row whose colour code sets no colour keeps the one above it,
  // as it reads in the log.
  c.font.color = colors::kWhite;
  for (int i = shown - 1; i >= 0; --i) {
    const HistoryRow& row = h.rows[newest - i];
    Rgb colour;
    if (LogRowColour(row.color, g.FrameCounter + i, &colour)) c.font.color = colour;
    c.TextOut(kHistoryTextLeft + (row.continued ? kHistoryIndent : 0), kBottomRowY - kRowHeight * i, row.text);
  }
  DrawScrollBar(c, h, HistoryMaxScroll(g));
  c.font = saved_font;
  c.brush_style = saved_brush;
}
