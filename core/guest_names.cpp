// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/guest_names.h"

#include "core/file_io.h"
#include "core/game.h"
#include "platform/text.h"

void ParseGuestNames(GameState& s, std::string_view bytes) {
  size_t pos = 0;
  for (std::string& name : s.guest_names) name.assign(NextLine(bytes, pos));
}

bool LoadGuestNames(Game& g) {
  std::string bytes;
  g.plat.AwaitGameFile(g.plat.ExeDir() + "dat/name.dat");
  const bool ok = ReadWholeFile(g.plat.ExeDir() + "dat/name.dat", bytes, kMaxNamesBytes) == 0;
  ParseGuestNames(g, ok ? std::string_view(bytes) : std::string_view());
  return ok;
}

const std::string& GuestName(const GameState& s, int index) {
  static const std::string kStandIn = J("通りすがりのお客さん");
  if (index < 0 || index >= kGuestNameCount || s.guest_names[index].empty()) return kStandIn;
  return s.guest_names[index];
}
