// SPDX-License-Identifier: GPL-3.0-or-later
// The platform with no display: scripted input, a virtual clock driving the
// timer, software pictures that tests can probe, dialogs answered from the script
// and a fake wave-out device that plays blocks on virtual time.
//
// Event model: ProcessMessages() fires Timer1Timer when the virtual clock has
// reached the next tick, then dispatches at most one scripted input whose delay
// has passed. WaitMessage() advances the clock to the next tick when no input is
// ready. When the script runs dry, the idle handler may add more; if it adds
// nothing for `idle_close_ticks` ticks, the window is closed, so every blocked
// script unwinds and a test never hangs.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/soft/fake_wave_out.h"
#include "platform/soft/soft_picture.h"

class HeadlessPlatform : public Platform {
 public:
  // Game files are looked up under exe_dir (a trailing '/' is added when missing).
  explicit HeadlessPlatform(std::string exe_dir = "./");
  ~HeadlessPlatform() override;

  // --- the script -------------------------------------------------------------
  void QueueMouseDown(const std::string& widget, int x = 0, int y = 0, MouseButton button = MouseButton::Left);
  void QueueMouseMove(const std::string& widget, int x = 0, int y = 0);
  void QueueKey(int key);
  // The wheel over the window: steps > 0 up, one a notch.
  void QueueWheel(int steps);
  // Selects an entry of item_list and reports it as the user's click.
  void QueueListSelect(int index);
  // Replaces the text of a text field (name_l), as typing would.
  void QueueText(const std::string& widget, const std::string& cp932);
  // Lets n timer ticks pass before the next scripted input.
  void QueueTicks(int n);
  // Runs arbitrary code at this point of the script (checks, state changes).
  void QueueAction(std::function<void()> action);
  void QueueClose();
  // Answers of AskYesNo, in order; when none is queued the answer is `default_answer`.
  void QueueDialogAnswer(bool yes);
  bool default_answer = false;
  size_t PendingInputs() const { return script_.size(); }

  // Called when the script is empty and the game waits; may queue more input.
  void SetIdleHandler(std::function<void()> handler) { idle_handler_ = std::move(handler); }
  int idle_close_ticks = 50;

  // --- what tests observe ----------------------------------------------------------
  std::vector<std::string> questions;  // AskYesNo texts (CP932)
  std::vector<std::string> messages;   // ShowMessage texts (CP932)
  int64_t ticks_fired = 0;
  std::string window_title;
  std::string window_icon;
  bool window_shown = false;
  FakeWaveOut& fake_audio() { return audio_; }
  SoftPicture* PictureOf(std::string_view widget);
  // The entries of a list box as the player sees them (nullptr for no such widget).
  const std::vector<std::string>* ListItems(std::string_view widget);

  // --- Platform --------------------------------------------------------------------
  void SetEvents(GameEvents* events) override { events_ = events; }
  std::string ExeDir() const override { return exe_dir_; }
  std::string ReadOnlySaveDir() const override { return read_only_save_dir; }
  // A folder with a save the game may read but not write (with a trailing '/').
  std::string read_only_save_dir;
  std::unique_ptr<Picture> CreatePicture(int width, int height) override;
  std::unique_ptr<Picture> LoadPicture(const std::string& path) override;
  Widget& CreateWidget(const WidgetSpec& layout) override;
  Widget* FindWidget(std::string_view name) override;
  void SetWindowTitle(const std::string& cp932) override { window_title = cp932; }
  void SetWindowIcon(const std::string& path) override { window_icon = path; }
  void ShowWindow() override { window_shown = true; }
  void CloseWindow() override;
  bool Closed() const override { return closed_; }
  void SetTimerInterval(int ms) override { interval_ms_ = ms < 1 ? 1 : ms; }
  int TimerInterval() const override { return interval_ms_; }
  void SetTimerEnabled(bool enabled) override { timer_enabled_ = enabled; }
  int64_t NowMs() const override { return now_ms_; }
  void ProcessMessages() override;
  void WaitMessage() override;
  bool AskYesNo(const std::string& cp932) override;
  void ShowMessage(const std::string& cp932) override;
  WaveOut& Audio() override { return audio_; }

  void SetWindowScale(int scale) override { scale_ = scale; }
  int WindowScale() const override { return scale_; }
  void SetFullScreen(bool on) override { full_screen_ = on; }
  bool FullScreen() const override { return full_screen_; }
  bool ControlHeld() const override { return control_held; }
  // Ctrl as the script holds it (set from a QueueAction).
  bool control_held = false;

  // Virtual time can also be set directly (clock-based rules).
  void SetNowMs(int64_t ms) { now_ms_ = ms; }

 private:
  struct Input {
    enum class Kind { MouseDown, MouseMove, Key, Wheel, ListSelect, Text, Ticks, Action, Close } kind;
    std::string widget;
    int x = 0, y = 0, value = 0;
    MouseButton button = MouseButton::Left;
    std::string text;
    std::function<void()> action;
  };
  class HeadlessWidget;

  void Push(Input in) { script_.push_back(std::move(in)); }
  void Dispatch(Input& in);
  void FireTimerIfDue();
  void DispatchMouse(const std::string& widget, bool down, MouseButton button, int x, int y);
  // bp_box and item_box, and the pictures on them, report moves to bp_boxMouseMove.
  bool PanelOf(const std::string& widget) const;

  std::string exe_dir_;
  GameEvents* events_ = nullptr;
  std::deque<Input> script_;
  std::deque<bool> answers_;
  std::function<void()> idle_handler_;
  std::vector<std::unique_ptr<HeadlessWidget>> widgets_;
  std::map<std::string, HeadlessWidget*, std::less<>> by_name_;
  FakeWaveOut audio_;
  int64_t now_ms_ = 0;
  int64_t next_tick_ms_ = 0;
  int interval_ms_ = 90;
  int scale_ = 1;
  bool full_screen_ = false;
  bool timer_enabled_ = true;
  bool closed_ = false;
  bool closing_ = false;
  int delay_ticks_ = 0;  // ticks still to pass before the next scripted input
  int idle_ticks_ = 0;
  bool in_timer_ = false;
};
