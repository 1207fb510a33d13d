// SPDX-License-Identifier: GPL-3.0-or-later
// The narrow interface between the game and the machine. Three implementations:
// platform/qt (the real window), platform/headless (tests, simulations, benchmarks)
// and platform/web (the browser's page); the last two share platform/soft.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/events.h"
#include "platform/wave_out.h"
#include "platform/widgets.h"

class Platform {
 public:
  virtual ~Platform() = default;

  // Receives every event; set once before the window is shown.
  virtual void SetEvents(GameEvents* events) = 0;

  // Folder of the game's own files (cg/, dat/), with a trailing '/': the executable's
  // folder, or the share folder of an installed game. Game files are joined to it.
  virtual std::string ExeDir() const = 0;
  // Folder of the player's files (dat/my.dat, the play record), trailing '/': the
  // same as ExeDir() for a game run from its build folder, the user's data folder
  // for an installed one, which cannot write beside its executable.
  virtual std::string UserDir() const { return ExeDir(); }
  // Folder of the player's settings, trailing '/' (beside the executable, or the
  // user's configuration folder).
  virtual std::string ConfigDir() const { return ExeDir(); }
  // A folder holding a save of the player's that the game cannot write (a game run
  // in place from a read-only folder), or empty. The save there is read only while
  // UserDir() has none of its own; from then on the game saves under UserDir().
  virtual std::string ReadOnlySaveDir() const { return {}; }

  // One game per save: takes a lock on the player's folder for the rest of the
  // process (the system drops it when the process ends, however it ends). False
  // when another running game holds it. Platforms that no second copy can share a
  // save with (tests, the autoplay, a browser tab) have nothing to take.
  virtual bool LockSave() { return true; }
  // Asks the game holding the lock to bring its window to the front, where the
  // platform can.
  virtual void RaiseRunningGame() {}

  // Pictures: a new black 24-bit picture, or one loaded from a 24-bit BMP file
  // (nullptr when the file is missing or unreadable).
  virtual std::unique_ptr<Picture> CreatePicture(int width, int height) = 0;
  virtual std::unique_ptr<Picture> LoadPicture(const std::string& path) = 0;

  // Widgets of the main window; the game lays them out. Children are created after
  // their parent. Find returns nullptr for an unknown name.
  virtual Widget& CreateWidget(const WidgetSpec& layout) = 0;
  virtual Widget* FindWidget(std::string_view name) = 0;
  // Window title (CP932) and icon picture file.
  virtual void SetWindowTitle(const std::string& cp932) = 0;
  virtual void SetWindowIcon(const std::string& path) = 0;
  // Shows the window (client area 300 x 300, centred).
  virtual void ShowWindow() = 0;
  // Asks the window to close, as the close box would.
  virtual void CloseWindow() = 0;
  // True once the window has closed; the game's loops end.
  virtual bool Closed() const = 0;

  // The picture's size on screen: a whole multiple 1..4 in a window, or, in full
  // screen, the largest multiple that fits, centred on black. Mouse positions
  // always arrive in the 300 x 300 picture's own pixels.
  virtual void SetWindowScale(int /*scale*/) {}
  virtual int WindowScale() const { return 1; }
  virtual void SetFullScreen(bool /*on*/) {}
  virtual bool FullScreen() const { return false; }

  // Whether Ctrl is held down in the game's window right now (not in a dialog).
  virtual bool ControlHeld() const { return false; }

  // Timer1: calls Timer1Timer every interval; the interval may change while it runs.
  virtual void SetTimerInterval(int ms) = 0;
  virtual int TimerInterval() const = 0;
  virtual void SetTimerEnabled(bool enabled) = 0;

  // Wall-clock time in milliseconds (virtual in the headless platform).
  virtual int64_t NowMs() const = 0;

  // Dispatches every pending event (input, timer, paint, audio) and returns.
  virtual void ProcessMessages() = 0;
  // Sleeps until at least one event is pending (a timer tick at the latest).
  virtual void WaitMessage() = 0;

  // Modal dialogs, centred on the window; texts are CP932 ("\r\n" or "\n" breaks lines).
  virtual bool AskYesNo(const std::string& cp932) = 0;
  virtual void ShowMessage(const std::string& cp932) = 0;
  // A failure the player must learn of (a save that could not be written): a box
  // while somebody plays; when nobody watches the end (a signal, the session's
  // end, a lost display) the platform writes it where no click is needed and the
  // program's exit status tells it.
  virtual void ShowFailure(const std::string& cp932) { ShowMessage(cp932); }

  virtual WaveOut& Audio() = 0;

  // The game is about to read its own file at `path` (a sound, a tune, the names;
  // LoadPicture sees to pictures itself). A platform that is still making the game's
  // files while it runs waits here until that one is there; the others have them all
  // from the start.
  virtual void AwaitGameFile(const std::string& /*path*/) {}

  // The player's files (save, play record, settings) have just been written; a
  // platform whose files live in memory makes them lasting here.
  virtual void FilesWritten() {}
};
