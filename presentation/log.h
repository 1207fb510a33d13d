// SPDX-License-Identifier: GPL-3.0-or-later
// Message log and choice buttons.
//
// Scripts narrate through a 21-line log (six newest rows drawn over the bottom left
// of cg) and decide through up to four choice buttons drawn over the bottom right.
// WaitForClick and AskChoice block the calling script in a nested event loop, so the
// timer keeps animating while the player reads. Once the window is closing
// (WaitState -1) every write and wait here returns at once, letting scripts drain.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"
#include "platform/canvas.h"
#include "platform/events.h"

struct Game;

// The player's reading view of everything logged this session (presentation/history.h).
// Kept in memory only: it is never saved and starts empty with every run.
struct HistoryRow {
  std::string text;
  int32_t color = 0;
  bool continued = false;  // a wrapped line's second row or later
};
struct LogHistory {
  std::deque<tmoji_efe> lines;  // whole lines as appended, oldest first, at most kHistoryLines
  bool open = false;
  int scroll = 0;                  // wrapped rows hidden below the bottom; 0 shows the newest
  std::vector<HistoryRow> rows;    // the lines wrapped to the view's width, oldest first
  std::unique_ptr<Picture> scene;  // cg as it stood at opening, put back on closing
  std::unique_ptr<Picture> under;  // the scene picture dimmed, behind the rows
};

struct LogState {
  int32_t ChoiceActive = 1;    // buttons take clicks and hover sounds
  int32_t ChoiceSlide = -200;  // -300..0; buttons are drawn 2 * -ChoiceSlide px right of rest
  int32_t HoveredChoice = 0;   // 1..4 under the mouse, 0 none
  std::string ChoiceResultCaption;
  int32_t CancelBlink = 0;  // ticks of the cancel blink left (StartCancelBlink)
  LogHistory history;
};

inline constexpr int kLogRows = 6;         // rows drawn; older entries are kept, not shown
inline constexpr size_t kLogLineMax = 98;  // longer lines are split in two
inline constexpr size_t kLogSplitAt = 44;  // bytes of the first half of a split line
inline constexpr int32_t kColourPlain = 0;
inline constexpr int32_t kColourUnknown = 4;  // unknown name: the row keeps the previous font colour
inline constexpr int32_t kColourTalk = 310;
inline constexpr int kCancelBlinkTicks = 6;
inline constexpr size_t kHistoryLines = 300;

// Colour code of a colour name ("green" 301 ... "purple" 305); 4 for any other name.
int32_t LogColourCode(std::string_view name);
// Font colour of a log row with this code at animation phase FrameCounter + row;
// false for codes that set no colour (4 and anything unknown).
bool LogRowColour(int32_t code, int frame_plus_row, Rgb* out);
// Hover flash of the choice button under the mouse.
Rgb HoverFlashColour(int frame);

// Appending: odd lengths get a trailing space; lines over 98 bytes are split after
// byte 44 (43 when byte 44 would cut a double-byte character), the rest indented
// with an ideographic space. The history keeps the line whole.
void LogLine(Game& g, const std::string& text);
void LogColoured(Game& g, const std::string& text, std::string_view colour_name);
void LogLineWait(Game& g, const std::string& text);
void LogTalkWait(Game& g, const std::string& text);  // spoken lines, "pink2"
void ClearLog(Game& g);

// Blocks until a click releases the wait (or the window closes).
void WaitForClick(Game& g);
// Shows the four buttons (an empty caption leaves a gap) and blocks until one is
// picked or the choice is cancelled; returns the answer (1..4, 5 cancelled), which
// also stays in ChoiceResult and log.ChoiceResultCaption for the rules that read it
// later. While closing it returns at once with ChoiceResult as the caller preset it.
int32_t AskChoice(Game& g, const std::string& c1, const std::string& c2, const std::string& c3, const std::string& c4);
// A click that is not a choice pick: ends a click wait. True when one was pending
// (the click is consumed). Never ends a pending choice.
bool ReleaseClickWait(Game& g);

// The cancel blink: the choice buttons flash for a few ticks while they slide out.
// The click routing calls it when a right-click cancels a pending choice.
void StartCancelBlink(Game& g);

// One drawing tick of the choice buttons, before they are drawn: the slide moves in
// (or out once answered) and the cancel blink counts down. Only during play.
void StepChoiceButtons(Game& g);
// Per-tick drawing onto cg's canvas, called by DrawFrame; they change only pixels.
void DrawMessageLog(Game& g, Canvas& c);
void DrawChoiceButtons(Game& g, Canvas& c);

// Mouse handlers of sel1..sel4 (k = 1..4, positions relative to the button).
void SelMouseMove(Game& g, int k, int x, int y);
// A left press on a captioned button of a pending choice picks it, one on a gap does
// nothing; both answer true. Any other press is not the buttons' business (false):
// the shell's dispatch takes it as a press on the picture beneath.
bool SelMouseDown(Game& g, int k, MouseButton button);
