// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/events.h"

#include "core/action.h"
#include "core/game.h"
#include "presentation/history.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "shell/keys.h"
#include "shell/layout.h"
#include "shell/skip.h"
#include "shell/startup.h"
#include "shell/timer.h"
#include "shell/title.h"
#include "town/character.h"
#include "town/item_box.h"

void ShellEvents::FormCreate() { ::FormCreate(g_); }
void ShellEvents::FormClose() {
  CloseHistory(g_);
  ::FormClose(g_);
}
void ShellEvents::FormDestroy() { ::FormDestroy(g_); }
void ShellEvents::FormSuspend() {
  if (SaveWhole(g_)) PlaySaveSound(g_);
}
void ShellEvents::Timer1Timer() {
  ::Timer1Timer(g_);
  SkipTick(g_);
}

// While the history is open every press only closes it: the wait or question
// beneath stays as it was, and hovering over the buttons stays silent.
void ShellEvents::cgMouseDown(MouseButton button, int x, int y) {
  if (HistoryOpen(g_)) return CloseHistory(g_);
  if (IsShown(g_, "item_box")) return;
  ClickAt(g_, x, y, button == MouseButton::Right);
}

void ShellEvents::cgMouseMove(int, int) { g_.log.HoveredChoice = 0; }

// Moving over a panel's background ends the label highlight.
void ShellEvents::bp_boxMouseMove(int, int) { ClearLabelHover(g_); }

// Anything but a pick is a press on the picture beneath: the areas are invisible, so
// a player clicking the bottom right corner on the title, or to go on reading before
// the first question, must not lose the click; a right-click there may cancel.
void ShellEvents::selMouseDown(int k, MouseButton button, int x, int y) {
  if (HistoryOpen(g_)) return CloseHistory(g_);
  if (SelMouseDown(g_, k, button)) return;
  if (k < 1 || k > 4) return;
  ClickAt(g_, kChoiceLeft + x, kChoiceTops[k - 1] + y, button == MouseButton::Right);
}
void ShellEvents::selMouseMove(int k, int x, int y) {
  if (!HistoryOpen(g_)) SelMouseMove(g_, k, x, y);
}

void ShellEvents::l_btnMouseDown(int k, MouseButton, int, int) {
  if (HistoryOpen(g_)) return CloseHistory(g_);
  LabelMouseDown(g_, k);
}
void ShellEvents::l_btnMouseMove(int k, int, int) {
  if (!HistoryOpen(g_)) LabelMouseMove(g_, k);
}

void ShellEvents::FormKeyDown(int key) { ::FormKeyDown(g_, key); }
void ShellEvents::FormMouseWheel(int steps) { HistoryWheel(g_, steps); }

void ShellEvents::item_listClick() { ItemListClick(g_); }
void ShellEvents::item_listKeyDown(int key) { ItemListKeyDown(g_, key); }
