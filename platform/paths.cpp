// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <cstdlib>

namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

// An XDG base folder: the variable when it holds an absolute path (the standard
// says relative ones are to be ignored), else the fallback under HOME.
std::string XdgFolder(const EnvLookup& env, const char* variable, const char* under_home) {
  if (const char* v = env(variable); v && v[0] == '/') return WithSlash(v);
  if (const char* home = env("HOME"); home && home[0] == '/') return WithSlash(home) + under_home;
  return {};
}

}  // namespace

FilePlaces FindFilePlaces(const std::string& exe_dir, const EnvLookup& env, const FolderWritable& writable) {
  const FolderWritable may_write =
      writable ? writable : [](const std::string& dir) { return ::access(dir.c_str(), W_OK) == 0; };
  FilePlaces p;
  const std::string share = exe_dir + "../share/pomurie/";
  const bool beside = IsFolder(exe_dir + "cg");
  if (!beside && IsFolder(share + "cg")) {
    char resolved[PATH_MAX];
    p.game_dir = ::realpath(share.c_str(), resolved) ? WithSlash(resolved) : share;
  } else {
    p.game_dir = exe_dir;
  }
  p.user_dir = p.config_dir = exe_dir;
  const bool has_dat = IsFolder(exe_dir + "dat");
  if (p.game_dir == exe_dir && may_write(exe_dir) && (!has_dat || may_write(exe_dir + "dat"))) return p;

  const std::string data = XdgFolder(env, "XDG_DATA_HOME", ".local/share/");
  const std::string config = XdgFolder(env, "XDG_CONFIG_HOME", ".config/");
  if (data.empty() || config.empty()) return p;  // no home at all: try beside the executable
  p.user_dir = data + "pomurie/";
  p.config_dir = config + "pomurie/";
  struct stat st {};
  if (p.game_dir == exe_dir && ::stat((exe_dir + "dat/my.dat").c_str(), &st) == 0) p.read_only_save_dir = exe_dir;
  return p;
}

std::string RunningExeDir() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  const std::string path(buf, static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}
