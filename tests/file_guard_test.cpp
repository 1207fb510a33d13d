// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures, sounds and settings from paths that hold something odd: each loader
// refuses at once (a pipe never hangs it, a device never fills memory), as it
// would a missing file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/bmp.h"
#include "platform/file_guard.h"
#include "platform/ini_file.h"
#include "platform/soft/fake_wave_out.h"
#include "presentation/mixer/mixer.h"
#include "presentation/mixer/wave_file.h"

namespace fs = std::filesystem;

namespace {

TEST(FileGuard, EveryLoaderRefusesPipesDevicesAndHugeFiles) {
  const fs::path dir = fs::temp_directory_path() / ("pomurie_guard_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  FakeWaveOut dev;
  Mixer mixer(dev, [] { return int64_t{0}; });
  // Each loader, and the size just past its limit.
  const struct Loader {
    const char* what;
    size_t limit;
    std::function<bool(const std::string&)> loads;
  } loaders[] = {
      {"picture", kMaxPictureBytes, [](const std::string& p) { return ReadBmpFile(p).has_value(); }},
      {"settings", kMaxSettingsBytes, [](const std::string& p) { return IniFile::Load(p).has_value(); }},
      {"sound", kMaxWaveFileBytes,
       [&](const std::string& p) {
         try {
           return mixer.OpenWave(p) != nullptr;
         } catch (const EMixerError&) {
           return false;
         }
       }},
  };
  const struct Odd {
    const char* what;
    std::function<void(const fs::path&, size_t)> plant;
  } odds[] = {
      {"named pipe", [](const fs::path& p, size_t) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
      {"link to /dev/zero", [](const fs::path& p, size_t) { fs::create_symlink("/dev/zero", p); }},
      {"folder", [](const fs::path& p, size_t) { fs::create_directory(p); }},
      {"one byte past the limit",
       [](const fs::path& p, size_t limit) {
         std::ofstream(p) << "[a]\nb=1\n";
         fs::resize_file(p, limit + 1);  // sparse: no disk used
       }},
  };
  int serial = 0;
  for (const Loader& l : loaders) {
    for (const Odd& o : odds) {
      SCOPED_TRACE(std::string(l.what) + ", " + o.what);
      const fs::path p = dir / std::to_string(serial++);
      o.plant(p, l.limit);
      EXPECT_FALSE(l.loads(p.string()));
    }
  }
  fs::remove_all(dir);
}

}  // namespace
