// SPDX-License-Identifier: GPL-3.0-or-later
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
  // A game folder the player may not write to but holding a save (a copy on a
  // mounted medium, a system-wide install run in place): that save is read
  // while user_dir has none. Empty otherwise.
  std::string read_only_save_dir;
};

using EnvLookup = std::function<const char*(const char*)>;
// Whether the player may create and replace files in a folder.
using FolderWritable = std::function<bool(const std::string&)>;

// `exe_dir` ends with '/'; every folder returned does too. `env` looks up
// XDG_DATA_HOME, XDG_CONFIG_HOME and HOME (null when unset). A game beside its
// executable keeps its files there only when both that folder and its dat/ may
// be written; `writable` asks the system unless given.
FilePlaces FindFilePlaces(const std::string& exe_dir, const EnvLookup& env, const FolderWritable& writable = {});

// Folder of the running executable, with a trailing '/' ("./" when unknown).
std::string RunningExeDir();
