// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/autoplay/invariants.h"

#include <memory>

#include "core/file_io.h"
#include "core/game.h"
#include "core/save.h"
#include "platform/text.h"

namespace {

std::string Printable(const std::string& cp932) { return Cp932ToUtf8(cp932); }

}  // namespace

std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t pos_a = 0, pos_b = 0;
  for (int line = 1; pos_a < a.size() || pos_b < b.size(); ++line) {
    const std::string_view la = NextLine(a, pos_a), lb = NextLine(b, pos_b);
    if (la != lb) {
      return "line " + std::to_string(line) + ": \"" + Printable(std::string(la)) + "\" / \"" +
             Printable(std::string(lb)) + "\"";
    }
  }
  return "the line endings";
}

void CheckStep(const Game& g, StepWatch& w, size_t stack_depth, size_t stack_limit, std::vector<std::string>& broken) {
  auto fail = [&broken](std::string what) { broken.push_back(std::move(what)); };
  const tmy& my = g.my;
  const tman& me = g.unit[kPlayer];

  if (me.fullness < 0 || me.fullness > 100) fail("fullness " + std::to_string(me.fullness) + " outside 0..100");
  // Only PassTime moves the hours forward, and it keeps them within the day.
  // Items may give hours back below 0; that is the rule, not a fault.
  const bool time_passed = w.started && my.day_count == w.day_count && my.hours_used > w.hours_used;
  if (my.hours_used > my.day_hours || (time_passed && my.hours_used < 0)) {
    fail("hours_used " + std::to_string(my.hours_used) + " outside 0.." + std::to_string(my.day_hours) +
         " after time passed");
  }
  for (int i = 0; i < kItemCount; ++i) {
    const int32_t n = my.item_count[i];
    if (n < 0 || n > 99) {
      fail("item " + std::to_string(i) + " (" + Printable(g.item_def[i].name) + ") count " + std::to_string(n) +
           " outside 0..99");
      break;
    }
  }
  if (!my.orders[0].customer.empty() || my.orders[0].item != -1) {
    fail("order slot 0 in use (" + Printable(my.orders[0].customer) + "): the save file never keeps it");
  }
  for (int slot = 1; slot < kOrderSlots; ++slot) {
    const torder& o = my.orders[slot];
    const bool used = !o.customer.empty();
    const bool item_ok =
        used ? (o.item > 0 && o.item < kItemCount && !g.item_def[o.item].name.empty()) : (o.item == -1 && o.days == 0);
    if (!item_ok || o.days < 0) {
      fail("order slot " + std::to_string(slot) + " inconsistent: customer \"" + Printable(o.customer) + "\", item " +
           std::to_string(o.item) + ", days " + std::to_string(o.days));
    }
  }
  if (me.hp < 0 || me.mp < 0 || me.tp < 0) {
    fail("negative HP/MP/TP: " + std::to_string(me.hp) + "/" + std::to_string(me.mp) + "/" + std::to_string(me.tp));
  }
  if (stack_depth > stack_limit) {
    fail("stack " + std::to_string(stack_depth) + " bytes deep, over " + std::to_string(stack_limit));
  }
  w.started = true;
  w.hours_used = my.hours_used;
  w.day_count = my.day_count;
}

void CheckSaveReload(Game& g, std::vector<std::string>& broken) {
  const std::string before = FormatSaveData(g);
  if (!Save(g)) {
    broken.push_back("Save failed");
    return;
  }
  std::string file;
  if (const int err = ReadWholeFile(SaveFilePath(g), file); err != 0) {
    broken.push_back("the saved file cannot be read back (errno " + std::to_string(err) + ")");
    return;
  }
  if (file != before) {
    broken.push_back("the file differs from the state it saved at " + FirstDifference(before, file));
    return;
  }
  auto reloaded = std::make_unique<GameState>();
  if (!ParseSaveData(*reloaded, file)) broken.push_back("the saved file reads back as damaged");
  const std::string again = FormatSaveData(*reloaded);
  if (again != file) broken.push_back("the reloaded state differs from the file at " + FirstDifference(file, again));
  if (const std::string after = FormatSaveData(g); after != before)
    broken.push_back("saving changed the game at " + FirstDifference(before, after));
}
