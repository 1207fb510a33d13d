// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the readers of dat/my.dat and dat/name.dat: any bytes must read
// without a crash, and whatever was read must survive a write and a second read
// unchanged (the writer never produces a file its reader misreads).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/guest_names.h"
#include "core/save.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static GameState* first = new GameState;
  static GameState* second = new GameState;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  ParseSaveData(*first, bytes);
  ParseGuestNames(*first, bytes);
  const std::string written = FormatSaveData(*first);
  if (!ParseSaveData(*second, written)) std::abort();
  if (FormatSaveData(*second) != written) std::abort();
  return 0;
}
