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

// Stores every saved value read from `bytes`. Lines missing at the end read as 0
// or empty. Returns false when something that is not a number stood where a
// number belongs (it reads as 0 and reading goes on): the file is damaged.
bool ParseSaveData(GameState& s, std::string_view bytes);

// The one real value of the file, 23 characters wide: " 1.50000000000000E+0003".
std::string FormatSaveReal(double v);

// Reads my.dat and name.dat into the state and counts the load. A missing my.dat
// leaves the state with no character (flag[0] = 0), so the title starts character
// creation. A damaged or unreadable my.dat is kept as my.dat.damaged before anything
// may replace it, and the player is told once. Returns whether my.dat may be
// replaced now: false when the old file could not be kept aside.
bool ReadSaveSlot(Game& g);

struct SaveOptions {
  // Test hook: stop once the new file is written, before it replaces the old
  // one, as a crash at that moment would.
  bool stop_before_rename = false;
};

// Writes my.dat (never destroying the previous one on failure), then the play
// record; the caller plays the save sound on success. On an I/O error the player sees the
// system's error text, nothing counts as saved and false is returned.
bool Save(Game& g, const SaveOptions& options = {});

// The same with the file's bytes given, and the state the play record is read
// from (both must describe the same moment).
bool SaveBytes(Game& g, const std::string& bytes, const GameState& record, const SaveOptions& options = {});

// File paths under the executable's folder.
std::string SaveFilePath(const Game& g);
std::string DamagedSaveFilePath(const Game& g);
