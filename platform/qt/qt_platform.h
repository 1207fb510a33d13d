// SPDX-License-Identifier: GPL-3.0-or-later
// The real platform: one fixed 300 x 300 window on Qt Widgets, a QPainter canvas,
// a precise QTimer for Timer1, Qt message boxes and a QAudioSink wave-out device.
// A QApplication must exist before it is created.
#pragma once

#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/qt/qt_wave_out.h"
#include "platform/qt/qt_widgets.h"
#include "platform/qt/save_lock.h"

class QtPlatform;

// The main window: black, a fixed frame with a minimise box. The game's widgets sit
// on one client widget of 300 x 300 times the scale, centred on black in full
// screen; a mouse press on the background goes to cg.
class QtMainWindow : public QWidget {
 public:
  explicit QtMainWindow(QtPlatform& platform);

 protected:
  void resizeEvent(QResizeEvent* e) override;
  // The Menu key (and Shift+F10) opens the window's menu: size, full screen, mute.
  void contextMenuEvent(QContextMenuEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  // Wheels the game's own widgets pass on (a list box keeps its own) arrive here.
  void wheelEvent(QWheelEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void ShowWindowMenu();

  QtPlatform& platform_;
};

class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  void SetEvents(GameEvents* events) override { events_ = events; }
  std::string ExeDir() const override { return places_.game_dir; }
  std::string UserDir() const override { return places_.user_dir; }
  std::string ConfigDir() const override { return places_.config_dir; }
  std::string ReadOnlySaveDir() const override { return places_.read_only_save_dir; }
  bool LockSave() override;
  void RaiseRunningGame() override;
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
  int WindowScale() const override { return scale_; }
  void SetFullScreen(bool on) override;
  bool FullScreen() const override { return full_screen_; }
  bool ControlHeld() const override;
  void SetTimerInterval(int ms) override;
  int TimerInterval() const override { return interval_ms_; }
  void SetTimerEnabled(bool enabled) override;
  int64_t NowMs() const override;
  void ProcessMessages() override;
  void WaitMessage() override;
  bool AskYesNo(const std::string& cp932) override;
  void ShowMessage(const std::string& cp932) override;
  void ShowFailure(const std::string& cp932) override;
  WaveOut& Audio() override { return audio_; }

  // Exit status of an end nobody watched (a signal, the session, a lost display)
  // whose save failed: the failure went to standard error, the old save stayed.
  static constexpr int kExitUnsavedEnd = 2;
  // True once such an end has reported a failure.
  bool UnattendedEndFailed() const { return unattended_failed_; }

  // --- used by the window and widgets, and by tests ---------------------------------
  QWidget* window() const { return window_.get(); }
  // The widget the game's top-level widgets are placed on.
  QWidget* client() const { return client_; }
  // The scale the picture is shown at now (in full screen, the largest that fits).
  int ShownScale() const { return shown_scale_; }
  // Where the picture sits in the window and at what scale, after a resize.
  void PlaceClient();
  // A press on the window's background, in window pixels, as a press on cg.
  void DeliverBackgroundDown(MouseButton button, QPoint window_pos);
  void DeliverBackgroundMove(QPoint window_pos);
  GameEvents* events() const { return events_; }
  void DeliverMouseDown(const MouseRoute& route, MouseButton button, int x, int y);
  void DeliverMouseMove(const MouseRoute& route, int x, int y);
  void DeliverFormKey(int vk);
  // Turns of the wheel in eighths of a degree (120 a notch); fine-grained wheels and
  // touchpads add up until they make a whole notch.
  void DeliverWheel(int angle_delta);
  // The close box and CloseWindow: FormClose, then the window counts as closed.
  void HandleClose();
  // A signal or the session's end: closes as the close box does, but nothing
  // waits for a click any more.
  void EndRequested();
  // From Qt's exit() once the display is gone: the save the close box would make,
  // without a single call that needs the display.
  void DisplayLost();
  // Runs one Timer1 tick now, as the timer would.
  void Tick();

 private:
  void RepaintChanged();
  QPoint PicturePoint(QPoint window_pos) const;

  FilePlaces places_;
  std::unique_ptr<QtMainWindow> window_;
  QWidget* client_ = nullptr;  // owned by the window
  int scale_ = 1;
  int shown_scale_ = 1;
  bool full_screen_ = false;
  QPoint normal_pos_;  // where the window was before full screen
  std::vector<std::unique_ptr<QtWidget>> widgets_;
  std::map<std::string, QtWidget*, std::less<>> by_name_;
  GameEvents* events_ = nullptr;
  QTimer timer_;
  int interval_ms_ = 90;
  bool timer_enabled_ = true;
  bool in_timer_ = false;
  int wheel_rest_ = 0;  // eighths of a degree not yet a whole notch
  bool closing_ = false;
  bool closed_ = false;
  bool unattended_ = false;  // the end was asked by no one at the window: no boxes
  bool unattended_failed_ = false;
  SaveLock save_lock_;
  QtWaveOut audio_;
};
