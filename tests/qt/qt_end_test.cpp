// How the Qt window ends: a failed save at the close box is a box for the player;
// at an end nobody watches (a signal, the session) it is no box, and the status
// says so; a lost display saves off the dead UI thread's converters, untouched.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "platform/qt/qt_platform.h"
#include "platform/text.h"

namespace {

// A game whose close save fails, recording what the end saw.
class FailingSave : public GameEvents {
 public:
  explicit FailingSave(Platform& p) : p_(p) {}
  bool asked_yes = true;
  int closes = 0, suspends = 0;
  std::thread::id suspended_on;
  void FormCreate() override {}
  void FormClose() override {
    ++closes;
    asked_yes = p_.AskYesNo(J("つづける？"));
    p_.ShowFailure(J("セーブできませんでした…"));
  }
  void FormSuspend() override {
    ++suspends;
    suspended_on = std::this_thread::get_id();
  }
  void FormDestroy() override {}
  void Timer1Timer() override {}
  void cgMouseDown(MouseButton, int, int) override {}
  void cgMouseMove(int, int) override {}
  void selMouseDown(int, MouseButton, int, int) override {}
  void selMouseMove(int, int, int) override {}
  void l_btnMouseDown(int, MouseButton, int, int) override {}
  void l_btnMouseMove(int, int, int) override {}
  void bp_boxMouseMove(int, int) override {}
  void FormKeyDown(int) override {}
  void item_listClick() override {}
  void item_listKeyDown(int) override {}

 private:
  Platform& p_;
};

TEST(QtEnd, OnlyTheCloseBoxWaitsForAClick) {
  const struct Case {
    const char* what;
    std::function<void(QtPlatform&)> end;
    int boxes;  // modal boxes the end opened
    bool failed_status;
  } cases[] = {
      {"close box", [](QtPlatform& p) { p.window()->close(); }, 2, false},
      {"signal or session", [](QtPlatform& p) { p.EndRequested(); }, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QtPlatform p;
    FailingSave game(p);
    p.SetEvents(&game);
    p.ShowWindow();
    int boxes = 0;
    // Answers each box that opens, as a player would; an end that opened none
    // never needed anyone.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        ++boxes;
        box->close();
      }
    });
    answer.start(20);
    c.end(p);
    EXPECT_TRUE(p.Closed());
    EXPECT_EQ(game.closes, 1);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(p.UnattendedEndFailed(), c.failed_status);
    if (c.boxes == 0) {
      EXPECT_FALSE(game.asked_yes);  // nobody there to say yes
    }
  }
}

TEST(QtEnd, LostDisplaySavesOnAThreadOfItsOwnAndOnlyOnce) {
  QtPlatform p;
  FailingSave game(p);
  p.SetEvents(&game);
  p.DisplayLost();
  p.DisplayLost();
  EXPECT_EQ(game.suspends, 1);
  EXPECT_EQ(game.closes, 0);  // the close would hide the window on the dead display
  EXPECT_NE(game.suspended_on, std::this_thread::get_id());
  EXPECT_TRUE(p.Closed());
  p.EndRequested();  // a signal after it finds the game already ended
  EXPECT_EQ(game.closes, 0);
}

}  // namespace
