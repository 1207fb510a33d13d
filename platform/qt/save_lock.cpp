// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/save_lock.h"

#include <QObject>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void MakeFolders(const std::string& path) {
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos < path.size() && path[pos] != '/') continue;
    ::mkdir(path.substr(0, pos).c_str(), 0755);
  }
}

// An abstract socket (no file on disk, gone with its process) whose name comes
// from the folder's real path, so two spellings of one folder meet.
socklen_t RaiseAddress(const std::string& folder, sockaddr_un& addr) {
  char resolved[PATH_MAX];
  const std::string path = ::realpath(folder.c_str(), resolved) ? resolved : folder;
  uint64_t h = 14695981039346656037u;  // FNV-1a
  for (unsigned char c : path) h = (h ^ c) * 1099511628211u;
  char name[64];
  const int n = std::snprintf(name, sizeof name, "pomurie-%016llx", static_cast<unsigned long long>(h));
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path + 1, name, static_cast<size_t>(n));
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + static_cast<size_t>(n));
}

}  // namespace

SaveLock::~SaveLock() {
  if (listen_fd_ >= 0) ::close(listen_fd_);
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

bool SaveLock::Take(const std::string& folder) {
  if (lock_fd_ >= 0) return true;
  folder_ = folder;
  MakeFolders(folder);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // the save's own failures will tell the player
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    return err != EWOULDBLOCK;
  }
  lock_fd_ = fd;
  return true;
}

void SaveLock::ListenForRaise(QObject* context, std::function<void()> raise) {
  if (lock_fd_ < 0 || listen_fd_ >= 0) return;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  sockaddr_un addr;
  const socklen_t len = RaiseAddress(folder_, addr);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), len) != 0) {
    ::close(fd);  // raising is a courtesy: without it the second copy still ends
    return;
  }
  listen_fd_ = fd;
  auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [fd, raise] {
    char buf[16];
    while (::recv(fd, buf, sizeof buf, 0) > 0) {
    }
    raise();
  });
}

void SaveLock::AskHolderToRaise(const std::string& folder) {
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  sockaddr_un addr;
  const socklen_t len = RaiseAddress(folder, addr);
  [[maybe_unused]] const ssize_t n =
      ::sendto(fd, "raise", 5, MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&addr), len);
  ::close(fd);
}
