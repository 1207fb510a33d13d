// Where the game's files live. A game run from its build folder (or any folder
// holding cg/ that it may write to) keeps everything beside the executable. An
// installed game reads its pictures and sounds from <prefix>/share/pomurie/ and,
// since it cannot write beside its executable, keeps the player's files in the
// XDG data and configuration folders.
#pragma once

#include <functional>
#include <string>

struct FilePlaces {
  std::string game_dir;    // cg/ and dat/ with the pictures, sounds and names
  std::string user_dir;    // dat/my.dat and the play record
  std::string config_dir;  // pomurie.ini (and an optional MIXER.INI)
};

using EnvLookup = std::function<const char*(const char*)>;

// `exe_dir` ends with '/'; every folder returned does too. `env` looks up
// XDG_DATA_HOME, XDG_CONFIG_HOME and HOME (null when unset).
FilePlaces FindFilePlaces(const std::string& exe_dir, const EnvLookup& env);

// Folder of the running executable, with a trailing '/' ("./" when unknown).
std::string RunningExeDir();
