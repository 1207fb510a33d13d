// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <string>

namespace {

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

// Makes the rename itself durable; a failure here is not worth reporting, the
// file is already whole under one of its names.
void SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A new file only: O_EXCL fails on anything already there, and O_NOFOLLOW on a
// link even when it dangles, so no planted name can redirect the write.
int CreateNew(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  return fd < 0 ? -errno : fd;
}

int WriteAndSync(int fd, std::string_view bytes) {
  int err = WriteAll(fd, bytes);
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  return err;
}

// Where a replacement of `path` must land: the file a symlink points at, when
// it is a regular file (a save kept in a synced folder through a link stays
// there); else `path` itself, so a dangling or odd link is replaced by the file.
std::string WriteTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (!::realpath(path.c_str(), resolved)) return path;
  if (::stat(resolved, &st) != 0 || !S_ISREG(st.st_mode)) return path;
  return resolved;
}

// A new file with no name in the folder of `path` (-1 where the system or the
// file system has none: the caller then writes a named one).
int OpenUnnamedBeside(const std::string& path) {
#ifdef O_TMPFILE
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  return ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
#else
  (void)path;
  return -1;
#endif
}

// Gives the unnamed file `fd` the name `name`; whatever stood there (a leftover,
// a planted link) goes first, by its name only. Returns 0 or the errno.
int NameUnnamed(int fd, const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != EEXIST || ::unlink(name.c_str()) != 0) return errno;
  }
  return EEXIST;
}

}  // namespace

int ReadWholeFile(const std::string& path, std::string& out, size_t max_bytes) {
  return ReadPlainFile(path, max_bytes, out);
}

int ReplaceFile(const std::string& path, std::string_view bytes, bool stop_before_rename) {
  const std::string target = WriteTarget(path);
  const std::string tmp = target + ".tmp";
  // Where the system allows, the bytes go to a file without a name first, and it
  // is named only once whole and on disk: a kill during the write or the flush
  // (the slow part) then leaves no temporary file behind at all.
  // Any failure before the name is given falls back to the named way below,
  // which reports its own error (a system without /proc cannot name it at all).
  const int unnamed = stop_before_rename ? -1 : OpenUnnamedBeside(target);
  if (unnamed >= 0) {
    const int fd = ::dup(unnamed);
    const bool named = fd >= 0 && WriteAndSync(fd, bytes) == 0 && NameUnnamed(unnamed, tmp) == 0;
    ::close(unnamed);
    if (named) {
      if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return err;
      }
      SyncFolderOf(target);
      return 0;
    }
  }
  int fd = CreateNew(tmp);
  if (fd == -EEXIST) {
    // Left by a crash, or planted: only the name goes (a link, never its target).
    if (::unlink(tmp.c_str()) != 0) return errno;
    fd = CreateNew(tmp);
  }
  if (fd < 0) return -fd;
  int err = WriteAndSync(fd, bytes);
  if (err != 0) {
    ::unlink(tmp.c_str());
    return err;
  }
  if (stop_before_rename) return 0;
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    err = errno;
    ::unlink(tmp.c_str());
    return err;
  }
  SyncFolderOf(target);
  return 0;
}

int WriteNewFile(const std::string& path, std::string_view bytes) {
  const int fd = CreateNew(path);
  if (fd < 0) return -fd;
  const int err = WriteAndSync(fd, bytes);
  if (err != 0) ::unlink(path.c_str());
  return err;
}

int RenameNoReplace(const std::string& from, const std::string& to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;  // else a file system without it
#endif
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) return EEXIST;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int KeepAside(const std::string& base, const std::function<int(const std::string&)>& keep, std::string& kept_as) {
  constexpr int kMostCopies = 999;
  for (int n = 1; n <= kMostCopies; ++n) {
    const std::string name = n == 1 ? base : base + "." + std::to_string(n);
    const int err = keep(name);
    if (err == EEXIST) continue;
    if (err == 0) kept_as = name;
    return err;
  }
  return EEXIST;
}

std::string_view NextLine(std::string_view bytes, size_t& pos) {
  if (pos >= bytes.size()) return {};
  size_t eol = bytes.find('\n', pos);
  if (eol == std::string_view::npos) eol = bytes.size();
  std::string_view line = bytes.substr(pos, eol - pos);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  pos = eol == bytes.size() ? eol : eol + 1;
  return line;
}

int MakeFolders(const std::string& path) {
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos < path.size() && path[pos] != '/') continue;
    const std::string part = path.substr(0, pos);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return errno;
  }
  return 0;
}
