// SPDX-License-Identifier: GPL-3.0-or-later
// The save slot dat/my.dat: 2418 CP932 lines (CR LF) whose order is the format,
// and the play record written with it.
#pragma once

#include <string>
#include <string_view>

#include "core/state.h"

struct Game;

inline constexpr int kSaveLines = 2418;

// The file's bytes for the saved part of the state.
std::string FormatSaveData(const GameState& s);

enum class SaveFault {
  None,
  NotANumber,  // something else stood where a number belongs (it read as 0)
  CutShort,    // the bytes ended before the last value (the rest read as 0 or empty)
};

// Stores every saved value read from `bytes` and says whether the file was
// whole. Lines after the last value are ignored: other versions may add some.
SaveFault ReadSaveData(GameState& s, std::string_view bytes);
// The same, true only for a whole file.
bool ParseSaveData(GameState& s, std::string_view bytes);

// The one real value of the file, 23 characters wide: " 1.50000000000000E+0003".
std::string FormatSaveReal(double v);

// Reads my.dat and name.dat into the state and counts the load. A missing my.dat
// leaves the state with no character (flag[0] = 0), so the title starts character
// creation. A damaged, short or unreadable my.dat is kept as my.dat.damaged (or the
// first free my.dat.damaged.2, .3, ...) before anything may replace it, and the player
// is told once. A short or unreadable one starts without a character; one with a
// non-number somewhere reads it as 0 and goes on. Without a save of its own, the
// platform's read-only save (if any) is loaded, to be saved here. Returns whether
// my.dat may be replaced now (false when the old file could not be kept aside) and
// whether the state came from the read-only folder's save.
struct SaveSlot {
  bool may_overwrite = true;
  bool from_read_only = false;
};
SaveSlot ReadSaveSlot(Game& g);

// Told once, after the first save, to a player whose save moved out of a read-only
// game folder: where it is saved from now on.
std::string MovedSaveMessage(const Game& g);

struct SaveOptions {
  // Test hook: stop once the new file is written, before it replaces the old
  // one, as a crash at that moment would.
  bool stop_before_rename = false;
};

// Writes my.dat (never destroying the previous one on failure), then the play
// record; the caller plays the save sound on success. When my.dat cannot be written
// the player sees the system's error text, nothing counts as saved and false is
// returned; a play record that cannot be written is told as that, and the save stands.
bool Save(Game& g, const SaveOptions& options = {});

// The same with the file's bytes given, and the state the play record is read
// from (both must describe the same moment).
bool SaveBytes(Game& g, const std::string& bytes, const GameState& record, const SaveOptions& options = {});

// File paths under the executable's folder.
std::string SaveFilePath(const Game& g);
std::string DamagedSaveFilePath(const Game& g);
