// SPDX-License-Identifier: GPL-3.0-or-later
// What the window offers the player at this moment, read the way a player reads
// it (choice captions, a click wait, the visible labels of an open panel, the
// entries of the item list), and the scripted platform event behind each offer.
#pragma once

#include <array>
#include <string>
#include <vector>

struct Game;
class HeadlessPlatform;

struct Input {
  enum class Kind { Click, Pick, Cancel, Label, ListEntry, TypeName };
  Kind kind = Kind::Click;
  int k = 0;  // Pick: choice 1..4; Label: l_btn number 1..13; ListEntry: index
};

struct Screen {
  enum class Mode { Title, BonusPanel, ItemBox, Choice, ClickWait, Idle };
  Mode mode = Mode::Idle;
  std::array<std::string, 5> captions{};  // Choice: captions 1..4 (CP932), [0] unused
  bool cancellable = false;               // Choice: a right-click answers 5
  std::string action_caption;             // ItemBox: l_btn10 (使う / 使っちゃう / 買う)
  std::string cook_caption;               // ItemBox: l_btn13 (RESET / 前回のやつ)
  std::vector<std::string> list;          // ItemBox: item_list entries
  int selected = -1;                      // ItemBox: selected entry
  bool name_entry = false;                // BonusPanel: the name field is shown
  std::vector<Input> offers;              // every input the screen takes now
};

Screen ReadScreen(Game& g, HeadlessPlatform& plat);

// "choice [a|b||d]", "item box 使う: 12 entries, labels 9 10", ... (UTF-8).
std::string DescribeScreen(const Screen& s);

// Queues the platform event that performs the input; `name` is typed for TypeName.
void Perform(HeadlessPlatform& plat, const Input& in, const std::string& name);

// Whether a widget and the panel holding it are both shown.
bool Visible(HeadlessPlatform& plat, const std::string& widget, const std::string& panel);
