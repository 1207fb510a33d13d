// SPDX-License-Identifier: GPL-3.0-or-later
// One game per save folder. The running game holds an advisory lock (flock) on
// the folder of the player's files for as long as it lives; the system drops it
// when the process ends, a crash included, so no stale lock can remain. The holder
// also listens on a local socket named after the folder, so a second copy can ask
// it to bring its window forward before that copy ends.
#pragma once

#include <functional>
#include <string>

class QObject;

class SaveLock {
 public:
  SaveLock() = default;
  SaveLock(const SaveLock&) = delete;
  SaveLock& operator=(const SaveLock&) = delete;
  ~SaveLock();

  // Takes the lock on `folder` (created when missing). False only when another
  // process holds it; a folder that cannot be locked at all (a file system
  // without locks) does not stop the game.
  bool Take(const std::string& folder);
  // While the lock is held: runs `raise` on the UI thread when another copy asks.
  void ListenForRaise(QObject* context, std::function<void()> raise);
  // Asks the game holding the lock on `folder` to raise its window.
  static void AskHolderToRaise(const std::string& folder);

 private:
  int lock_fd_ = -1;
  int listen_fd_ = -1;
  std::string folder_;
};
