// SPDX-License-Identifier: GPL-3.0-or-later
// Reading files the game did not write itself (or that someone may have replaced):
// the save, the settings, name.dat, pictures and sounds. A path may name anything:
// a named pipe that never delivers, /dev/zero, a file of gigabytes. Only regular
// files are read, opened without blocking, and never past a limit per kind that
// lies far beyond anything the game writes or ships. Header only: the asset
// generator's copy of the bitmap codec uses it too.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Limits by kind, in bytes. What the game writes or ships is far below each:
// a save is about 7 KB, the settings under 100 bytes, name.dat about 2 KB, the
// largest picture about 270 KB. Sounds have the mixer's own limit
// (kMaxWaveFileBytes, 64 MB; the largest shipped is under 600 KB).
inline constexpr size_t kMaxSaveBytes = size_t{1} << 20;
inline constexpr size_t kMaxSettingsBytes = size_t{64} << 10;
inline constexpr size_t kMaxNamesBytes = size_t{1} << 20;
inline constexpr size_t kMaxPictureBytes = size_t{64} << 20;

// Failures besides errno values (which are positive).
inline constexpr int kNotPlainFile = -1;  // a folder, pipe, device or socket
inline constexpr int kFileTooLarge = -2;  // more bytes than the kind's limit

// Reads the whole regular file at `path` (symlinks are followed) into `out`.
// Returns 0, an errno value, kNotPlainFile or kFileTooLarge; on failure `out` is
// empty. Memory is reserved by the file's real size, never by what it claims.
// `Bytes` is std::string or std::vector<uint8_t>.
template <class Bytes>
inline int ReadPlainFileInto(const std::string& path, size_t max_bytes, Bytes& out) {
  out.clear();
  // stat first: a device or a pipe is refused without even being opened (opening
  // some devices has effects of its own).
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno;
  if (!S_ISREG(st.st_mode)) return kNotPlainFile;
  // O_NONBLOCK: should the path be swapped for a pipe after the stat, the open
  // still returns at once, and the fstat below refuses it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno;
  auto fail = [&](int err) {
    ::close(fd);
    out.clear();
    out.shrink_to_fit();
    return err;
  };
  if (::fstat(fd, &st) != 0) return fail(errno);
  if (!S_ISREG(st.st_mode)) return fail(kNotPlainFile);
  if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > max_bytes) return fail(kFileTooLarge);
  // The real size, with room to notice a file that grows while it is read (or
  // one, like those under /proc, whose size says 0).
  out.resize(static_cast<size_t>(st.st_size) + 1);
  size_t used = 0;
  for (;;) {
    if (used == out.size()) {
      if (out.size() > max_bytes) return fail(kFileTooLarge);
      out.resize(std::min(out.size() * 2 + 4096, max_bytes + 1));
    }
    const ssize_t n = ::read(fd, reinterpret_cast<char*>(out.data()) + used, out.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  ::close(fd);
  if (used > max_bytes) {
    out.clear();
    out.shrink_to_fit();
    return kFileTooLarge;
  }
  out.resize(used);
  return 0;
}

inline int ReadPlainFile(const std::string& path, size_t max_bytes, std::string& out) {
  return ReadPlainFileInto(path, max_bytes, out);
}
inline int ReadPlainFile(const std::string& path, size_t max_bytes, std::vector<uint8_t>& out) {
  return ReadPlainFileInto(path, max_bytes, out);
}
