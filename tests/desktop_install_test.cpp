// Where the game finds its files built and installed, the command line, the
// desktop icon, and a real install into a scratch prefix.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <unistd.h>

#include "platform/command_line.h"
#include "platform/paths.h"

namespace {

namespace fs = std::filesystem;

struct ScratchDir {
  ScratchDir() {
    static int serial = 0;
    path = fs::temp_directory_path() / ("pomurie_desktop_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
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
  const std::string home = s.Dir("home");
  struct Case {
    const char* what;
    std::string exe;
    std::map<std::string, std::string> env;
    std::string game, user, config;
  } cases[] = {
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
  };
  for (const Case& c : cases) {
    const FilePlaces p = FindFilePlaces(c.exe, [&](const char* name) -> const char* {
      auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    });
    EXPECT_EQ(p.game_dir, fs::weakly_canonical(c.game).string() + (c.game.back() == '/' ? "/" : "")) << c.what;
    EXPECT_EQ(p.user_dir, c.user) << c.what;
    EXPECT_EQ(p.config_dir, c.config) << c.what;
  }

  // A build folder the player may not write to behaves as installed (root writes anywhere).
  if (::geteuid() != 0) {
    fs::create_directories(s.path / "ro/cg");
    fs::permissions(s.path / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    const FilePlaces p = FindFilePlaces(s.Dir("ro"), [&](const char* n) -> const char* {
      return std::string(n) == "HOME" ? home.c_str() : nullptr;
    });
    EXPECT_EQ(p.game_dir, s.Dir("ro"));
    EXPECT_EQ(p.user_dir, home + ".local/share/pomurie/");
  }
}

TEST(DesktopCommandLine, HelpAndVersionAnswerAndEndTheProgram) {
  FilePlaces places{"/g/", "/u/", "/c/"};
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
      return (uint8_t(png[at]) << 24) | (uint8_t(png[at + 1]) << 16) | (uint8_t(png[at + 2]) << 8) | uint8_t(png[at + 3]);
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

// The real thing: install into a scratch prefix, start from there, save under the
// user's data folder, and the desktop files pass their validators when present.
TEST(DesktopInstall, InstalledGameRunsFromThePrefixAndSavesInTheUsersFolder) {
  const fs::path build(POMURIE_BUILD_DIR);
  if (!fs::exists(build / "pomurie")) GTEST_SKIP() << "no Qt program in this build";
  ScratchDir s;
  const fs::path prefix = s.path / "prefix", home = s.path / "home";
  RunShell("'" POMURIE_CMAKE "' --install '" + build.string() + "' --prefix '" + prefix.string() + "' >/dev/null 2>&1");
  const fs::path share = prefix / "share";
  EXPECT_TRUE(fs::exists(prefix / "bin/pomurie"));
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

  const std::string env = "env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME='" + home.string() +
                          "' QT_QPA_PLATFORM=offscreen ";
  const std::string game = "'" + (prefix / "bin/pomurie").string() + "'";
  const std::string help = RunShell(env + game + " --help");
  EXPECT_NE(help.find(home.string() + "/.local/share/pomurie/dat/my.dat"), std::string::npos) << help;
  EXPECT_NE(help.find((share / "pomurie").string()), std::string::npos) << help;
  // Start-up saves at once; stop it after that.
  RunShell(env + "timeout 5 " + game + " >/dev/null 2>&1");
  EXPECT_TRUE(fs::exists(home / ".local/share/pomurie/dat/my.dat"));
  EXPECT_TRUE(fs::exists(home / ".local/share/pomurie/きろく.txt"));
  EXPECT_FALSE(fs::exists(prefix / "bin/dat"));

  if (std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0) {
    EXPECT_EQ(RunShell("desktop-file-validate '" + desktop.string() + "' 2>&1"), "");
  }
  if (std::system("command -v appstreamcli >/dev/null 2>&1") == 0) {
    EXPECT_EQ(std::system(("appstreamcli validate --no-net '" + metainfo.string() + "' >/dev/null 2>&1").c_str()), 0);
  }
}

}  // namespace
