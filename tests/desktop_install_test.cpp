// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game finds its files built and installed, the command line, the
// desktop icon, and a real install into a scratch prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/command_line.h"
#include "platform/paths.h"

namespace {

namespace fs = std::filesystem;

struct ScratchDir {
  ScratchDir() {
    static int serial = 0;
    path =
        fs::temp_directory_path() / ("pomurie_desktop_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::permissions(path / "ro", fs::perms::owner_all, ec);
    fs::remove_all(path, ec);
  }
  std::string Dir(const std::string& rel) const { return (path / rel).string() + "/"; }
  fs::path path;
};

std::string RunShell(const std::string& command) {
  std::string out;
  if (FILE* f = ::popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    ::pclose(f);
  }
  return out;
}

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(DesktopPaths, BuildFolderOrInstalledWithTheXdgFolders) {
  ScratchDir s;
  fs::create_directories(s.path / "build/cg");
  fs::create_directories(s.path / "usr/bin");
  fs::create_directories(s.path / "usr/share/pomurie/cg");
  fs::create_directories(s.path / "bare");
  fs::create_directories(s.path / "medium/cg");
  fs::create_directories(s.path / "medium/dat");
  std::ofstream(s.path / "medium/dat/my.dat") << "1\r\n";
  fs::create_directories(s.path / "empty_medium/cg");
  const std::string home = s.Dir("home");
  struct Case {
    const char* what;
    std::string exe;
    std::map<std::string, std::string> env;
    std::string game, user, config;
    std::vector<std::string> unwritable = {};
    std::string read_only_save = {};
  } cases[] = {
      // clang-format off
      {"build folder", s.Dir("build"), {{"HOME", home}}, s.Dir("build"), s.Dir("build"), s.Dir("build")},
      {"installed, XDG set", s.Dir("usr/bin"), {{"HOME", home}, {"XDG_DATA_HOME", "/xd"}, {"XDG_CONFIG_HOME", "/xc"}},
       s.Dir("usr/share/pomurie"), "/xd/pomurie/", "/xc/pomurie/"},
      {"installed, XDG unset", s.Dir("usr/bin"), {{"HOME", home}}, s.Dir("usr/share/pomurie"),
       home + ".local/share/pomurie/", home + ".config/pomurie/"},
      {"installed, relative XDG ignored", s.Dir("usr/bin"), {{"HOME", home}, {"XDG_DATA_HOME", "rel"}},
       s.Dir("usr/share/pomurie"), home + ".local/share/pomurie/", home + ".config/pomurie/"},
      {"installed, no home at all", s.Dir("usr/bin"), {}, s.Dir("usr/share/pomurie"), s.Dir("usr/bin"),
       s.Dir("usr/bin")},
      {"no pictures anywhere", s.Dir("bare"), {{"HOME", home}}, s.Dir("bare"), s.Dir("bare"), s.Dir("bare")},
      {"read-only folder with a save", s.Dir("medium"), {{"HOME", home}}, s.Dir("medium"),
       home + ".local/share/pomurie/", home + ".config/pomurie/", {s.Dir("medium")}, s.Dir("medium")},
      {"only its dat/ read-only", s.Dir("medium"), {{"HOME", home}}, s.Dir("medium"), home + ".local/share/pomurie/",
       home + ".config/pomurie/", {s.Dir("medium") + "dat"}, s.Dir("medium")},
      {"read-only folder, no save", s.Dir("empty_medium"), {{"HOME", home}}, s.Dir("empty_medium"),
       home + ".local/share/pomurie/", home + ".config/pomurie/", {s.Dir("empty_medium")}},
      // clang-format on
  };
  for (const Case& c : cases) {
    const FilePlaces p = FindFilePlaces(
        c.exe,
        [&](const char* name) -> const char* {
          auto it = c.env.find(name);
          return it == c.env.end() ? nullptr : it->second.c_str();
        },
        [&](const std::string& dir) {
          return std::find(c.unwritable.begin(), c.unwritable.end(), dir) == c.unwritable.end();
        });
    EXPECT_EQ(p.read_only_save_dir, c.read_only_save) << c.what;
    EXPECT_EQ(p.game_dir, fs::weakly_canonical(c.game).string() + (c.game.back() == '/' ? "/" : "")) << c.what;
    EXPECT_EQ(p.user_dir, c.user) << c.what;
    EXPECT_EQ(p.config_dir, c.config) << c.what;
  }

  // A build folder the player may not write to behaves as installed (root writes anywhere).
  if (::geteuid() != 0) {
    fs::create_directories(s.path / "ro/cg");
    fs::permissions(s.path / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    const FilePlaces p = FindFilePlaces(
        s.Dir("ro"), [&](const char* n) -> const char* { return std::string(n) == "HOME" ? home.c_str() : nullptr; });
    EXPECT_EQ(p.game_dir, s.Dir("ro"));
    EXPECT_EQ(p.user_dir, home + ".local/share/pomurie/");
  }
}

TEST(DesktopCommandLine, HelpAndVersionAnswerAndEndTheProgram) {
  FilePlaces places{"/g/", "/u/", "/c/", ""};
  const CommandLineReply version = ReadCommandLine({"pomurie", "--version"}, places, "2.0");
  EXPECT_TRUE(version.exit);
  EXPECT_EQ(version.text, "pomurie 2.0\n");
  const CommandLineReply help = ReadCommandLine({"pomurie", "-platform", "xcb", "--help"}, places, "2.0");
  EXPECT_TRUE(help.exit);
  EXPECT_EQ(help.code, 0);
  for (const char* says : {"/u/dat/my.dat", "/u/きろく.txt", "/c/pomurie.ini", "/g/", "F11", "Ctrl"})
    EXPECT_NE(help.text.find(says), std::string::npos) << says;
  EXPECT_FALSE(ReadCommandLine({"pomurie"}, places, "2.0").exit);
  EXPECT_FALSE(ReadCommandLine({"pomurie", "-platform", "offscreen"}, places, "2.0").exit);  // Qt's own
}

TEST(DesktopIcon, EveryHicolorSizeIsASquarePngWithSeeThroughCorners) {
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string n = std::to_string(size);
    const std::string png =
        ReadText(fs::path(POMURIE_BUILD_DIR) / "icons/hicolor" / (n + "x" + n) / "apps/pomurie.png");
    ASSERT_GT(png.size(), 33u) << size;
    auto be32 = [&](size_t at) {
      return (uint8_t(png[at]) << 24) | (uint8_t(png[at + 1]) << 16) | (uint8_t(png[at + 2]) << 8) |
             uint8_t(png[at + 3]);
    };
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(be32(16), static_cast<uint32_t>(size));
    EXPECT_EQ(be32(20), static_cast<uint32_t>(size));
    EXPECT_EQ(png[25], 6) << "RGBA";
    // Stored deflate: the first row's bytes follow the zlib and block headers.
    const size_t row0 = 8 + 25 + 8 + 2 + 5 + 1;
    EXPECT_EQ(uint8_t(png[row0 + 3]), 0) << "top-left corner is transparent at " << size;
    EXPECT_EQ(uint8_t(png[row0 + 4 * (size / 2) + 3]), 255) << "top edge is opaque at " << size;
  }
}

// An installed game under `prefix`, its program in `bin`, started with the player's folders
// under `home` (and nothing written elsewhere): it finds its files there, saves under the
// user's data folder, opens IPAPGothic for its text and runs until stopped; the desktop
// entry names a program and an icon that are installed, and passes its validators.
void ExpectInstalledGameRuns(const fs::path& prefix, const std::string& bin, const fs::path& home) {
  const fs::path share = prefix / "share";
  EXPECT_TRUE(fs::exists(prefix / bin / "pomurie"));
  EXPECT_TRUE(fs::exists(share / "pomurie/cg/00.bmp"));
  EXPECT_TRUE(fs::exists(share / "pomurie/cg/icon.bmp"));
  EXPECT_TRUE(fs::exists(share / "pomurie/dat/1.wav"));
  EXPECT_TRUE(fs::exists(share / "pomurie/dat/name.dat"));
  EXPECT_FALSE(fs::exists(share / "pomurie/dat/my.dat"));
  EXPECT_FALSE(fs::exists(share / "pomurie/contact_sheet.png"));
  EXPECT_TRUE(fs::exists(share / "icons/hicolor/256x256/apps/pomurie.png"));
  const fs::path desktop = share / "applications" / POMURIE_APP_ID ".desktop";
  const fs::path metainfo = share / "metainfo" / POMURIE_APP_ID ".metainfo.xml";
  ASSERT_TRUE(fs::exists(desktop));
  ASSERT_TRUE(fs::exists(metainfo));
  EXPECT_NE(ReadText(desktop).find("Name[ja]=ポムリエ"), std::string::npos);

  const std::string entry = ReadText(desktop);
  auto value = [&](const std::string& key) {
    const size_t at = entry.find("\n" + key + "=") + key.size() + 2;
    return entry.substr(at, entry.find('\n', at) - at);
  };
  EXPECT_TRUE(fs::exists(prefix / bin / value("Exec")));
  for (const char* size : {"48x48", "256x256"})
    EXPECT_TRUE(fs::exists(share / "icons/hicolor" / size / "apps" / (value("Icon") + ".png"))) << size;

  fs::create_directories(home / "run");
  fs::permissions(home / "run", fs::perms::owner_all);
  const std::string env = "env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME='" + home.string() + "' XDG_CACHE_HOME='" +
                          (home / "cache").string() + "' XDG_RUNTIME_DIR='" + (home / "run").string() +
                          "' QT_QPA_PLATFORM=offscreen ";
  const std::string game = "'" + (prefix / bin / "pomurie").string() + "'";
  const std::string help = RunShell(env + game + " --help");
  EXPECT_NE(help.find(home.string() + "/.local/share/pomurie/dat/my.dat"), std::string::npos) << help;
  EXPECT_NE(help.find((share / "pomurie").string()), std::string::npos) << help;
  // Start-up saves at once and the first frames draw text. Then, with the files taken
  // away, SIGHUP and a SIGTERM during its save close it as its close box does: the
  // whole file and the play record written again, and a clean end.
  const fs::path save = home / ".local/share/pomurie/dat/my.dat", record = home / ".local/share/pomurie/きろく.txt";
  const std::string run =
      RunShell(env + game + " >/dev/null 2>&1 & pid=$!; for i in $(seq 300); do [ -e '" + save.string() +
               "' ] && grep -q ipagp.ttf /proc/$pid/maps && echo drawn && break; sleep 0.1; done; sleep 0.3; rm -f '" +
               save.string() + "' '" + record.string() + "'; kill -HUP $pid; kill -TERM $pid; wait $pid; echo $?");
  EXPECT_EQ(run, "drawn\n0\n");
  EXPECT_EQ(RunShell("wc -l < '" + save.string() + "'"), "2418\n");
  EXPECT_TRUE(fs::exists(record));
  EXPECT_FALSE(fs::exists(prefix / bin / "dat"));

  if (std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0) {
    EXPECT_EQ(RunShell("desktop-file-validate '" + desktop.string() + "' 2>&1"), "");
  }
  if (std::system("command -v appstreamcli >/dev/null 2>&1") == 0) {
    EXPECT_EQ(std::system(("appstreamcli validate --no-net '" + metainfo.string() + "' >/dev/null 2>&1").c_str()), 0);
  }
}

// The installed game's ends that nobody watches, and its one-game-per-save lock,
// each in a scripted run: `env` and `game` as ExpectInstalledGameRuns makes them.
void ExpectLockAndUnwatchedEnds(const std::string& env, const std::string& game, const fs::path& home) {
  const fs::path save = home / ".local/share/pomurie/dat/my.dat";
  const std::string s = "'" + save.string() + "'";
  const std::string started = "for i in $(seq 300); do [ -e " + s +
                              " ] && grep -q ipagp.ttf /proc/$pid/maps && break; sleep 0.1; done; sleep 0.3; ";
  // A second copy on the same save says so and ends at its box without touching
  // the save; once the first is killed outright, its lock is gone with it.
  EXPECT_EQ(
      RunShell(env + game + " >/dev/null 2>&1 & pid=$!; " + started + "sum=$(md5sum < " + s + "); " + env + game +
               " >/dev/null 2>&1 & second=$!; sleep 1.5; kill -0 $second && echo waits; kill -TERM $second; "
               "wait $second; echo $?; [ \"$(md5sum < " +
               s + ")\" = \"$sum\" ] && echo untouched; ls " + s + ".tmp 2>/dev/null; kill -KILL $pid; wait $pid; " +
               env + game + " >/dev/null 2>&1 & pid=$!; " + started + "kill -TERM $pid; wait $pid; echo $?"),
      "waits\n3\nuntouched\n0\n");
  // SIGTERM with the save failing: no box waits, the reason goes to standard
  // error, the old file stays, and the status says the end was not saved.
  EXPECT_EQ(
      RunShell(
          env + game + " >/dev/null 2>" + s + ".err & pid=$!; " + started + "sum=$(md5sum < " + s + "); mkdir " + s +
          ".tmp; kill -TERM $pid; for i in $(seq 100); do kill -0 $pid 2>/dev/null || "
          "break; sleep 0.1; done; kill -KILL $pid 2>/dev/null && echo hung; wait $pid; echo $?; [ \"$(md5sum < " +
          s + ")\" = \"$sum\" ] && echo kept; grep -c 'セーブできませんでした' " + s + ".err; rmdir " + s + ".tmp"),
      "2\nkept\n1\n");
  // The display going away mid-game is an end too: the file comes back whole.
  if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return;
  EXPECT_EQ(RunShell("Xvfb -displayfd 1 -screen 0 640x480x24 >" + s +
                     ".display 2>/dev/null & x=$!; "
                     "for i in $(seq 50); do [ -s " +
                     s + ".display ] && break; sleep 0.1; done; " + env + " QT_QPA_PLATFORM=xcb DISPLAY=:$(cat " + s +
                     ".display) " + game + " >/dev/null 2>&1 & pid=$!; " + started + "rm -f " + s +
                     "; kill $x; wait $x; wait $pid; echo $?; wc -l < " + s),
            "1\n2418\n");
}

// The real thing: install into a scratch prefix and play from there.
TEST(DesktopInstall, InstalledGameRunsFromThePrefixAndSavesInTheUsersFolder) {
  const fs::path build(POMURIE_BUILD_DIR);
  if (!fs::exists(build / "pomurie")) GTEST_SKIP() << "no Qt program in this build";
  ScratchDir s;
  const fs::path prefix = s.path / "prefix";
  RunShell("'" POMURIE_CMAKE "' --install '" + build.string() + "' --prefix '" + prefix.string() + "' >/dev/null 2>&1");
  ExpectInstalledGameRuns(prefix, "bin", s.path / "home");
  const fs::path home = s.path / "home";
  ExpectLockAndUnwatchedEnds("env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME='" + home.string() + "' XDG_CACHE_HOME='" +
                                 (home / "cache").string() + "' XDG_RUNTIME_DIR='" + (home / "run").string() +
                                 "' QT_QPA_PLATFORM=offscreen ",
                             "'" + (prefix / "bin/pomurie").string() + "'", home);
}

// The Debian package of this build: named for the version, asks for the libraries and the
// font, passes lintian, and unpacked into a scratch root plays as the plain install does.
TEST(DesktopInstall, DebianPackageUnpackedIntoAScratchRootRuns) {
  const fs::path build(POMURIE_BUILD_DIR);
  if (!fs::exists(build / "pomurie")) GTEST_SKIP() << "no Qt program in this build";
  ScratchDir s;
  RunShell("cd '" + build.string() + "' && '" POMURIE_CPACK "' -G DEB -B '" + s.path.string() + "' >/dev/null 2>&1");
  const fs::path deb =
      s.path / ("pomurie_" POMURIE_VERSION "_" + RunShell("dpkg --print-architecture | tr -d '\\n'") + ".deb");
  ASSERT_TRUE(fs::exists(deb)) << deb;
  const std::string depends = RunShell("dpkg-deb -f '" + deb.string() + "' Depends");
  for (const char* needs : {"fonts-ipafont-gothic", "libqt6gui6", "libqt6widgets6", "libqt6multimedia6"})
    EXPECT_NE(depends.find(needs), std::string::npos) << depends;
  const std::string lintian = RunShell("lintian --fail-on error '" + deb.string() + "' 2>&1; echo \"exit $?\"");
  EXPECT_NE(lintian.find("exit 0\n"), std::string::npos) << lintian;

  const fs::path root = s.path / "root";
  RunShell("dpkg -x '" + deb.string() + "' '" + root.string() + "'");
  ExpectInstalledGameRuns(root / "usr", "games", s.path / "home");
  EXPECT_TRUE(fs::exists(root / "usr/share/man/man6/pomurie.6.gz"));
  EXPECT_TRUE(fs::exists(root / "usr/share/doc/pomurie/copyright"));
}

}  // namespace
