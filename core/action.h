// SPDX-License-Identifier: GPL-3.0-or-later
// Actions and the save. An action is one scene the loop runs (a menu and all its
// choice does, cooking, an item use) from its start to its return; a battle, from
// its first turn to its end, is one action, since nothing of a fight can be resumed.
// Between actions the state is whole; inside one it may be half changed at any
// click wait. A save made while an action runs (the window closed, the desktop
// ending the game, a hidden web page) writes the state as the action found it, so
// a restart never sees half an action: closing mid-action loses that action only.
#pragma once

#include <functional>
#include <string>

struct Game;

enum class ActionEdge { Begin, End };

struct ActionState {
  bool running = false;
  // The save file's bytes as the running action found the state.
  std::string start_bytes;
  // No save after the window has closed: scripts still unwinding through released
  // waits must not write what they do then.
  bool closed = false;
  // Set once the save file has been read: before that the state is nobody's game,
  // and a close during start-up (a signal at a message box) must not write it.
  bool loaded = false;
  // Called at each action's start and end (the autoplay's close-anywhere check).
  std::function<void(Game&, ActionEdge)> observer;
};

// The scene loop brackets every scene with these.
void BeginAction(Game& g);
void EndAction(Game& g);

// Inside an action, at a point where the state is whole again (the morning, the end
// of a life): a save from here on writes the state as it is now.
void CommitAction(Game& g);

// The save file's bytes of the live state, with what sits in the cooking pot
// counted back into the bag (it is still the player's).
std::string FormatWholeState(Game& g);

// The bytes a save made now must write: the live state between actions, the
// state at the start of the running action inside one.
std::string WholeSaveData(Game& g);

// Saves WholeSaveData with the usual safe write and the play record. Nothing is
// written once the window has closed. Returns false when nothing was saved.
bool SaveWhole(Game& g);

// The window is closing (the close box, a signal, the end of a life): saves by the
// rule above, once, and marks the game closed for saves. Returns whether it saved
// (the caller plays the save sound).
bool SaveOnClose(Game& g);

// The new day has begun: its state is whole and saved, so a crash loses at most
// the day in progress. Returns whether it saved (the caller plays the save sound).
bool SaveMorning(Game& g);
