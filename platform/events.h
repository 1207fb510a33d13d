// SPDX-License-Identifier: GPL-3.0-or-later
// The game's handlers, called by the platform on the one UI thread.
#pragma once

enum class MouseButton { Left, Right, Middle };

// Virtual-key codes the game reacts to.
namespace vk {
inline constexpr int kTab = 9;
inline constexpr int kReturn = 13;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int k1 = '1';  // '2'..'4' follow
inline constexpr int kH = 'H';
inline constexpr int kM = 'M';
inline constexpr int kB = 'B';
inline constexpr int kF1 = 112;
inline constexpr int kF11 = 122;
inline constexpr int kPlus = 187;   // '+' / '=' key, and the keypad's '+'
inline constexpr int kMinus = 189;  // '-' key, and the keypad's '-'
}  // namespace vk

class GameEvents {
 public:
  virtual ~GameEvents() = default;
  virtual void FormCreate() = 0;
  // The window is asked to close; the platform closes it after this returns.
  virtual void FormClose() = 0;
  virtual void FormDestroy() = 0;
  virtual void Timer1Timer() = 0;

  // Positions are relative to the widget. A press on the window outside any widget is
  // delivered as a press on cg.
  virtual void cgMouseDown(MouseButton button, int x, int y) = 0;
  virtual void cgMouseMove(int x, int y) = 0;
  // sel1..sel4: k = 1..4.
  virtual void selMouseDown(int k, MouseButton button, int x, int y) = 0;
  virtual void selMouseMove(int k, int x, int y) = 0;
  // l_btn1..l_btn13: k = 1..13.
  virtual void l_btnMouseDown(int k, MouseButton button, int x, int y) = 0;
  virtual void l_btnMouseMove(int k, int x, int y) = 0;
  // The mouse moves over the bonus-point or item panel itself (or a picture on it
  // that has no handler of its own).
  virtual void bp_boxMouseMove(int /*x*/, int /*y*/) {}

  virtual void FormKeyDown(int key) = 0;
  // The mouse wheel turned over the window: steps > 0 away from the player (up),
  // < 0 towards (down); one notch is one step.
  virtual void FormMouseWheel(int /*steps*/) {}
  // The program may be ended soon without a close (a web page hidden, a desktop
  // session saving its state): save what whole actions hold and play on.
  virtual void FormSuspend() {}
  // item_list: the user selected an entry (click or cursor keys), or pressed a key on it.
  virtual void item_listClick() = 0;
  virtual void item_listKeyDown(int key) = 0;
};
