// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's platform: the game compiled to WebAssembly runs in one long call
// that sleeps through Asyncify, so the game's nested waits stay plain loops. The
// widgets are drawn by us into one 300 x 300 frame that the page shows in a
// <canvas> enlarged by a whole factor; only the name field is a real <input>,
// for the input methods Japanese names are typed with. Text is drawn by the
// browser's canvas text in the page's own IPAPGothic, pictures by the software
// canvas the headless platform uses. Files live in MEMFS: the game's under
// /game/, the player's under /user/, an IndexedDB folder written through after
// every save.
//
// The game's own files are made by the page while the game runs, the ones the
// start-up reads first: a load of one not yet made sleeps until it is there (the
// page keeps showing the last frame), as text sleeps until the page's face is in.
//
// Lockstep mode (?lockstep in the page's address) is for the browser test: the
// clock is virtual and only moves on ticks the test asks for, input is taken in
// order exactly as the headless platform takes its script, canvas text is not
// rasterised, and dialogs are answered "no". The frames then match the headless
// platform's pixel for pixel.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/soft/fake_wave_out.h"
#include "platform/soft/soft_picture.h"
#include "platform/web/web_wave_out.h"

// A software picture whose canvas draws text with the browser's text engine.
class WebPicture : public SoftPicture {
 public:
  WebPicture(int width, int height);
  Canvas& canvas() override { return canvas_; }

 private:
  class TextCanvas : public SoftCanvas {
   public:
    explicit TextCanvas(WebPicture& pic) : SoftCanvas(pic), pic_(pic) {}
    void TextOut(int x, int y, std::string_view cp932) override;
    int TextWidth(std::string_view cp932) override;
    int TextHeight(std::string_view cp932) override;

   private:
    WebPicture& pic_;
  };
  TextCanvas canvas_;
};

// One input event from the page, in the picture's own pixels.
struct WebInput {
  enum class Kind { Down, Move, Key, Wheel, Ticks, Snap } kind;
  int x = 0, y = 0, value = 0;
  MouseButton button = MouseButton::Left;
};

class WebPlatform : public Platform {
 public:
  explicit WebPlatform(bool lockstep);
  ~WebPlatform() override;

  static WebPlatform* instance() { return instance_; }

  // --- from the page --------------------------------------------------------------
  void Push(const WebInput& in);
  void SetControlHeld(bool held) { control_held_ = held; }
  // The page is being hidden or closed: save now, as the desktop's close does. The
  // save only writes to memory; the page carries the files to IndexedDB itself.
  void Suspend();
  // The game has moved to another tab, or a save is being imported: nothing plays,
  // nothing is saved any more.
  void Stop() { stopped_ = true; }
  // Lockstep: inputs and ticks still to be taken.
  int Pending() const { return static_cast<int>(queue_.size()) + delay_ticks_; }
  // A shown widget's top-left in the picture (x * 65536 + y), or -1.
  int WidgetOrigin(std::string_view name);
  // Whether a wait may sleep here: not inside a call from the page, which runs while
  // the game's own stack sleeps beneath it (a second sleep would break both).
  bool MaySleep() const { return page_calls_ == 0; }

  // --- Platform ---------------------------------------------------------------------
  void SetEvents(GameEvents* events) override { events_ = events; }
  std::string ExeDir() const override { return "/game/"; }
  std::string UserDir() const override { return "/user/"; }
  std::string ConfigDir() const override { return "/user/"; }
  std::unique_ptr<Picture> CreatePicture(int width, int height) override;
  std::unique_ptr<Picture> LoadPicture(const std::string& path) override;
  Widget& CreateWidget(const WidgetSpec& layout) override;
  Widget* FindWidget(std::string_view name) override;
  void SetWindowTitle(const std::string& cp932) override;
  void SetWindowIcon(const std::string& path) override;
  void ShowWindow() override;
  void CloseWindow() override;
  bool Closed() const override { return closed_; }
  void SetWindowScale(int scale) override;
  int WindowScale() const override;
  void SetFullScreen(bool on) override;
  bool FullScreen() const override;
  bool ControlHeld() const override { return control_held_ && !in_dialog_; }
  void SetTimerInterval(int ms) override { interval_ms_ = ms < 1 ? 1 : ms; }
  int TimerInterval() const override { return interval_ms_; }
  void SetTimerEnabled(bool enabled) override { timer_enabled_ = enabled; }
  int64_t NowMs() const override;
  void ProcessMessages() override;
  void WaitMessage() override;
  bool AskYesNo(const std::string& cp932) override;
  void ShowMessage(const std::string& cp932) override;
  WaveOut& Audio() override;
  void AwaitGameFile(const std::string& path) override;
  void FilesWritten() override;

 private:
  class WebWidget;

  void FireTimerIfDue();
  void TakePendingSuspend();
  void Dispatch(const WebInput& in);
  void DispatchMouse(const WebInput& in);
  // Runs a dialog in the page until it is answered; ticks go on meanwhile.
  int RunDialog(const std::string& cp932, bool yes_no);
  void Present();
  void Compose(WebWidget& w, int ox, int oy);
  WebWidget* HitTest(WebWidget* parent, int x, int y, int ox, int oy, int* wx, int* wy);
  std::vector<WebWidget*> ChildrenOf(const WebWidget* parent) const;
  // Puts a widget in front of its siblings (last among them).
  void Raise(WebWidget* w);

  static WebPlatform* instance_;
  bool lockstep_;
  GameEvents* events_ = nullptr;
  std::vector<std::unique_ptr<WebWidget>> widgets_;  // creation order, raised ones last
  std::map<std::string, WebWidget*, std::less<>> by_name_;
  std::deque<WebInput> queue_;
  std::vector<uint32_t> frame_;  // the composed picture, RGBA bytes as the page's ImageData wants
  bool dirty_ = true;
  bool shown_ = false;
  int scale_ = 4;  // the player's cap on the fitted scale (+ and -), once the page is shown
  int interval_ms_ = 90;
  bool timer_enabled_ = true;
  bool in_timer_ = false;
  bool in_dialog_ = false;
  bool waiting_ = false;  // asleep in WaitMessage: the page may call the game
  bool control_held_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool stopped_ = false;
  // A hide while the game was busy: it saves on its next loop.
  bool suspend_pending_ = false;
  // Inside a call from the page (the game's stack is asleep beneath): no wait may start.
  int page_calls_ = 0;
  // Every game file is made: no load waits any more.
  bool all_files_ = false;
  int64_t next_tick_ms_ = 0;
  // Lockstep: the virtual clock and the ticks still to pass before the next input.
  int64_t virtual_ms_ = 0;
  int delay_ticks_ = 0;
  FakeWaveOut fake_audio_;
  WebWaveOut audio_;
};
