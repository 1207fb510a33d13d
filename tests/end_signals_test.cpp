// The desktop ends the game: SIGTERM, SIGINT and SIGHUP, each sent twice, close it as
// its close box does: the whole save file again, the play record, a clean exit.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

bool Within(int ms, const std::function<bool()>& done) {
  for (int i = 0; i < ms / 20 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return done();
}

TEST(EndSignals, EachSignalSavesAndEndsTheGameCleanlyEvenWhenSentTwice) {
  const fs::path build(POMURIE_BUILD_DIR), root = fs::temp_directory_path() / ("pomurie_sig" + std::to_string(::getpid()));
  if (!fs::exists(build / "pomurie")) GTEST_SKIP() << "no Qt program in this build";
  ASSERT_EQ(std::system(("'" POMURIE_CMAKE "' --install '" + build.string() + "' --prefix '" + root.string() +
                         "/prefix' >/dev/null 2>&1").c_str()), 0);
  const fs::path home = root / "home", save = home / ".local/share/pomurie/dat/my.dat";
  const fs::path record = save.parent_path().parent_path() / "きろく.txt";
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    fs::remove_all(home);
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("HOME", home.c_str(), 1), ::unsetenv("XDG_DATA_HOME"), ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      ::execl((root / "prefix/bin/pomurie").c_str(), "pomurie", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Start-up saves; take that away so that only the close can bring it back.
    const bool started = Within(20000, [&] { return fs::exists(save) && fs::exists(record); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (!started) ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0);
    ASSERT_TRUE(started) << sig;
    const auto size = fs::file_size(save);
    fs::remove(save), fs::remove(record);
    ::kill(pid, sig), ::kill(pid, sig);
    int status = -1;
    if (!Within(20000, [&] { return ::waitpid(pid, &status, WNOHANG) == pid; })) ::kill(pid, SIGKILL);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "signal " << sig << ", status " << status;
    EXPECT_TRUE(fs::exists(save) && fs::file_size(save) == size && fs::exists(record)) << sig;
  }
  fs::remove_all(root);
}

}  // namespace
