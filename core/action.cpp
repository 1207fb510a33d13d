// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/action.h"

#include <array>
#include <memory>
#include <utility>

#include "core/game.h"
#include "core/items.h"
#include "core/save.h"

void BeginAction(Game& g) {
  if (g.in_battle) return;  // a turn of a running battle: the battle's action goes on
  g.action.running = true;
  g.action.start_bytes = FormatWholeState(g);
  if (g.action.observer) g.action.observer(g, ActionEdge::Begin);
}

void EndAction(Game& g) {
  if (g.in_battle || !g.action.running) return;
  g.action.running = false;
  if (g.action.observer) g.action.observer(g, ActionEdge::End);
}

void CommitAction(Game& g) {
  if (g.action.running) g.action.start_bytes = FormatWholeState(g);
}

std::string FormatWholeState(Game& g) {
  // Count the pot back in for the copy only, then restore the exact counts: a gain
  // capped at 99 cannot be undone by a subtraction.
  std::array<std::pair<int32_t, int32_t>, 4> kept{};
  int n = 0;
  for (int32_t item : g.box.recipe) {
    if (!ItemExists(g, item)) continue;
    int32_t& count = g.my.item_count[item];
    kept[n++] = {item, count};
    count = std::min(count + 1, 99);
  }
  std::string bytes = FormatSaveData(g);
  while (n > 0) {
    --n;
    g.my.item_count[kept[n].first] = kept[n].second;
  }
  return bytes;
}

std::string WholeSaveData(Game& g) { return g.action.running ? g.action.start_bytes : FormatWholeState(g); }

bool SaveWhole(Game& g) {
  if (g.action.closed || !g.action.loaded) return false;
  if (!g.action.running) return SaveBytes(g, FormatWholeState(g), g);  // the record holds no item counts
  const std::string& bytes = g.action.start_bytes;
  // The play record is read off the same bytes, so the two files always agree.
  auto record = std::make_unique<GameState>();
  ParseSaveData(*record, bytes);
  return SaveBytes(g, bytes, *record);
}

bool SaveOnClose(Game& g) {
  const bool saved = SaveWhole(g);
  g.action.closed = true;
  return saved;
}

bool SaveMorning(Game& g) {
  if (g.action.closed) return false;
  CommitAction(g);
  return SaveWhole(g);
}
