// The desktop ends the game: SIGTERM, SIGINT and SIGHUP close it as its close box
// does, with a whole save file and the play record, and a clean exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

int CountLines(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string s = ss.str();
  return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return done();
}

TEST(EndSignals, EachSignalSavesAndEndsTheGameCleanlyEvenWhenSentTwice) {
  const fs::path build(POMURIE_BUILD_DIR);
  if (!fs::exists(build / "pomurie")) GTEST_SKIP() << "no Qt program in this build";
  const fs::path root = fs::temp_directory_path() / ("pomurie_signals_" + std::to_string(::getpid()));
  fs::remove_all(root);
  const fs::path prefix = root / "prefix", home = root / "home";
  ASSERT_EQ(std::system(("'" POMURIE_CMAKE "' --install '" + build.string() + "' --prefix '" + prefix.string() +
                         "' >/dev/null 2>&1").c_str()),
            0);
  const fs::path dat = home / ".local/share/pomurie/dat";
  const std::string program = (prefix / "bin/pomurie").string();
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(sig);
    fs::remove_all(home);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::setenv("HOME", home.c_str(), 1);
      ::unsetenv("XDG_DATA_HOME");
      ::unsetenv("XDG_CONFIG_HOME");
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Start-up saves; take that file away so that only the close can bring it back.
    EXPECT_TRUE(WaitFor([&] { return fs::exists(dat / "my.dat") && fs::exists(dat / "../きろく.txt"); }, 20000));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    fs::remove(dat / "my.dat");
    fs::remove(dat / "../きろく.txt");
    ::kill(pid, sig);
    ::kill(pid, sig);  // a second one while saving
    int status = 0;
    const bool ended = WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 20000);
    if (!ended) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
    }
    ASSERT_TRUE(ended);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(CountLines(dat / "my.dat"), 2418);
    EXPECT_EQ(CountLines(dat / "../きろく.txt"), 9);
  }
  std::error_code ec;
  fs::remove_all(root, ec);
}

}  // namespace
