// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window's input routing, dialogs, timer and closing.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/qt/qt_platform.h"
#include "platform/text.h"

namespace {

// Writes every handler call as one line, so a test compares what arrived in order.
class Recorder : public GameEvents {
 public:
  std::vector<std::string> log;
  int ticks = 0;
  std::function<void()> on_tick;
  void FormCreate() override { log.push_back("create"); }
  void FormClose() override { log.push_back("close"); }
  void FormDestroy() override { log.push_back("destroy"); }
  void Timer1Timer() override {
    ++ticks;
    if (on_tick) on_tick();
  }
  void cgMouseDown(MouseButton b, int x, int y) override { Down("cg", 0, b, x, y); }
  void cgMouseMove(int x, int y) override { Move("cg", 0, x, y); }
  void selMouseDown(int k, MouseButton b, int x, int y) override { Down("sel", k, b, x, y); }
  void selMouseMove(int k, int x, int y) override { Move("sel", k, x, y); }
  void l_btnMouseDown(int k, MouseButton b, int x, int y) override { Down("l_btn", k, b, x, y); }
  void l_btnMouseMove(int k, int x, int y) override { Move("l_btn", k, x, y); }
  void bp_boxMouseMove(int x, int y) override { Move("panel", 0, x, y); }
  void FormKeyDown(int key) override { log.push_back("key " + std::to_string(key)); }
  void item_listClick() override { log.push_back("list click"); }
  void item_listKeyDown(int key) override { log.push_back("list key " + std::to_string(key)); }

 private:
  void Down(const char* w, int k, MouseButton b, int x, int y) {
    const char* bn = b == MouseButton::Left ? "L" : b == MouseButton::Right ? "R" : "M";
    log.push_back(std::string(w) + (k ? std::to_string(k) : "") + " down " + bn + " " + std::to_string(x) + "," +
                  std::to_string(y));
  }
  void Move(const char* w, int k, int x, int y) {
    log.push_back(std::string(w) + (k ? std::to_string(k) : "") + " move " + std::to_string(x) + "," +
                  std::to_string(y));
  }
};

void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  const Qt::MouseButtons held = type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void Key(QWidget* w, int key, const QString& text = {}) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &e);
}

QWidget* Q(Platform& p, const char* name) { return static_cast<QtWidget*>(p.FindWidget(name))->qwidget(); }

WidgetSpec Layout(std::string name, WidgetKind kind, int l, int t, int w, int h, std::string parent = "") {
  WidgetSpec s;
  s.name = std::move(name);
  s.kind = kind;
  s.left = l;
  s.top = t;
  s.width = w;
  s.height = h;
  s.parent = std::move(parent);
  return s;
}

class QtPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p.SetEvents(&ev);
    p.SetTimerEnabled(false);
    p.CreateWidget(Layout("cg", WidgetKind::Image, 0, 0, 300, 300));
    for (int k = 1; k <= 4; ++k)
      p.CreateWidget(Layout("sel" + std::to_string(k), WidgetKind::HitArea, 200, 174 + 25 * k, 100, 26));
    WidgetSpec box = Layout("bp_box", WidgetKind::Panel, 0, 0, 301, 301);
    box.visible = false;
    p.CreateWidget(box);
    p.CreateWidget(Layout("bp_back", WidgetKind::Image, 0, 28, 301, 273, "bp_box"));
    WidgetSpec label = Layout("l_btn7", WidgetKind::Label, 8, 272, 93, 25, "bp_box");
    label.caption = J("RESET<毒>");
    p.CreateWidget(label);
    p.CreateWidget(Layout("name_l", WidgetKind::TextField, 52, 24, 129, 21, "bp_box"));
    p.CreateWidget(Layout("item_list", WidgetKind::ListBox, 112, 4, 97, 265, "bp_box"));
  }
  Recorder ev;
  QtPlatform p;
};

TEST_F(QtPlatformTest, WindowIsAFixedBlackSquareInTheMiddleOfTheScreen) {
  p.SetWindowTitle(J("ポムリエ"));
  p.ShowWindow();
  QWidget* w = p.window();
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("ポムリエ"));
  EXPECT_EQ(w->size(), QSize(300, 300));
  EXPECT_EQ(w->minimumSize(), w->maximumSize());
  EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
  const QRect screen = w->screen()->availableGeometry();
  EXPECT_LE((w->frameGeometry().center() - screen.center()).manhattanLength(), 2);
  EXPECT_EQ(w->grab().toImage().pixelColor(150, 150), QColor(Qt::black));
  p.SetWindowIcon("/nonexistent/icon.bmp");  // no icon: no harm
}

TEST_F(QtPlatformTest, WidgetsAreBuiltFromTheirSpecs) {
  Widget* label = p.FindWidget("l_btn7");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(p.FindWidget("nothing"), nullptr);
  EXPECT_EQ(label->Bounds(), (Rect{8, 272, 101, 297}));
  EXPECT_EQ(Q(p, "l_btn7")->parentWidget(), Q(p, "bp_box"));
  EXPECT_EQ(static_cast<QLabel*>(Q(p, "l_btn7"))->text(), QString::fromUtf8("RESET<毒>"));  // plain text
  EXPECT_EQ(label->Caption(), J("RESET<毒>"));
  EXPECT_FALSE(p.FindWidget("bp_box")->Visible());
  EXPECT_TRUE(label->Visible());  // its own flag, though its panel is hidden
  ASSERT_NE(p.FindWidget("cg")->picture(), nullptr);
  EXPECT_EQ(p.FindWidget("cg")->picture()->Width(), 300);
  EXPECT_EQ(p.FindWidget("sel1")->picture(), nullptr);

  // The text field hands back CP932, the yen sign as the byte 0x5C.
  Widget* name = p.FindWidget("name_l");
  name->SetText(J("ポムリエ") + "\\");
  EXPECT_EQ(static_cast<QLineEdit*>(Q(p, "name_l"))->text(), QString::fromUtf8("ポムリエ¥"));
  EXPECT_EQ(name->Text(), J("ポムリエ") + "\\");
  EXPECT_TRUE(Q(p, "name_l")->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(QtPlatformTest, LabelFontColourShowsAtOnce) {
  p.FindWidget("bp_box")->SetVisible(true);
  Widget* label = p.FindWidget("l_btn7");
  auto count = [&](QRgb rgb) {
    const QImage img = Q(p, "l_btn7")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
    return n;
  };
  label->SetFontColor(Rgb(255, 0, 0));
  EXPECT_GT(count(qRgb(255, 0, 0)), 20);
  label->SetFontColor(Rgb(0, 255, 0));
  EXPECT_EQ(count(qRgb(255, 0, 0)), 0);
  EXPECT_GT(count(qRgb(0, 255, 0)), 20);
}

TEST_F(QtPlatformTest, MouseReachesTheHandlerOfTheWidgetsName) {
  p.ShowWindow();
  Send(Q(p, "sel2"), QEvent::MouseButtonPress, {5, 7});
  Send(Q(p, "sel2"), QEvent::MouseMove, {6, 8});
  Send(Q(p, "sel4"), QEvent::MouseButtonPress, {1, 2}, Qt::RightButton);
  Send(Q(p, "sel4"), QEvent::MouseButtonDblClick, {1, 2});  // a fast second click is a click
  Send(Q(p, "cg"), QEvent::MouseButtonPress, {150, 40});
  Send(Q(p, "cg"), QEvent::MouseMove, {151, 41});
  Send(p.window(), QEvent::MouseButtonPress, {3, 4});
  EXPECT_EQ(ev.log, (std::vector<std::string>{"sel2 down L 5,7", "sel2 move 6,8", "sel4 down R 1,2", "sel4 down L 1,2",
                                              "cg down L 150,40", "cg move 151,41", "cg down L 3,4"}));

  // Inside the panel: labels route by name; the panel and its pictures report moves
  // to the panel handler and swallow presses.
  ev.log.clear();
  p.FindWidget("bp_box")->SetVisible(true);
  Send(Q(p, "l_btn7"), QEvent::MouseButtonPress, {10, 11});
  Send(Q(p, "l_btn7"), QEvent::MouseMove, {12, 13});
  Send(Q(p, "bp_back"), QEvent::MouseButtonPress, {10, 11});
  Send(Q(p, "bp_box"), QEvent::MouseButtonPress, {10, 11});
  Send(Q(p, "bp_back"), QEvent::MouseMove, {14, 15});
  EXPECT_EQ(ev.log, (std::vector<std::string>{"l_btn7 down L 10,11", "l_btn7 move 12,13", "panel move 14,15"}));

  EXPECT_EQ(MouseRouteFor("sel5"), MouseRoute{});
  EXPECT_EQ(MouseRouteFor("l_btn13"), (MouseRoute{MouseRoute::LBtn, 13}));
  EXPECT_EQ(MouseRouteFor("l_btn7_cg"), MouseRoute{});
  EXPECT_EQ(MouseRouteFor("l_btn07"), MouseRoute{});
}

TEST_F(QtPlatformTest, KeysArriveAsVirtualKeyCodes) {
  p.ShowWindow();
  Key(p.window(), Qt::Key_Return);
  Key(p.window(), Qt::Key_Enter);
  Key(p.window(), Qt::Key_Space, " ");
  Key(p.window(), Qt::Key_F1);
  Key(p.window(), Qt::Key_Up);
  Key(p.window(), Qt::Key_A, "a");
  Key(p.window(), Qt::Key_7, "7");
  Key(p.window(), Qt::Key_Plus, "+");
  Key(p.window(), Qt::Key_Equal, "=");
  Key(p.window(), Qt::Key_Minus, "-");
  Key(p.window(), Qt::Key_Meta);  // no code: not delivered
  EXPECT_EQ(ev.log, (std::vector<std::string>{"key 13", "key 13", "key 32", "key 112", "key 38", "key 65", "key 55",
                                              "key 187", "key 187", "key 189"}));

  // The text field keeps typing for itself but lets Enter and F1 through.
  ev.log.clear();
  p.FindWidget("bp_box")->SetVisible(true);
  QWidget* field = Q(p, "name_l");
  Key(field, Qt::Key_A, "a");
  Key(field, Qt::Key_Space, " ");
  Key(field, Qt::Key_Return);
  Key(field, Qt::Key_F1);
  EXPECT_EQ(static_cast<QLineEdit*>(field)->text(), QStringLiteral("a "));
  EXPECT_EQ(ev.log, (std::vector<std::string>{"key 13", "key 112"}));
}

TEST_F(QtPlatformTest, ListReportsTheUsersSelectionOnly) {
  p.ShowWindow();
  p.FindWidget("bp_box")->SetVisible(true);
  Widget* list = p.FindWidget("item_list");
  list->SetItems({J("やくそう"), J("クッキー"), J("パン")});
  list->SetItemIndex(0);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_TRUE(ev.log.empty());  // the game's own changes are not clicks

  auto* lw = static_cast<QListWidget*>(Q(p, "item_list"));
  lw->setFocus();
  Key(lw, Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(ev.log, (std::vector<std::string>{"key 40", "list key 40", "list click"}));

  // A click on another entry and a click on the selected one are both reported, once each.
  ev.log.clear();
  const QPoint third = lw->visualItemRect(lw->item(2)).center();
  Send(lw->viewport(), QEvent::MouseButtonPress, third);
  Send(lw->viewport(), QEvent::MouseButtonRelease, third);
  Send(lw->viewport(), QEvent::MouseButtonPress, third);
  Send(lw->viewport(), QEvent::MouseButtonRelease, third);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(ev.log, (std::vector<std::string>{"list click", "list click"}));

  // A press below the last entry keeps the entry chosen and lit.
  const QPoint below(third.x(), lw->visualItemRect(lw->item(2)).bottom() + 20);
  Send(lw->viewport(), QEvent::MouseButtonPress, below);
  Send(lw->viewport(), QEvent::MouseButtonRelease, below);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_TRUE(lw->item(2)->isSelected());

  list->SetItems({});
  EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(QtPlatformTest, EnlargedPictureKeepsEveryPressInThePicturesOwnPixels) {
  p.SetWindowScale(2);
  p.ShowWindow();
  QWidget* w = p.window();
  EXPECT_EQ(w->size(), QSize(600, 600));
  EXPECT_EQ(w->minimumSize(), w->maximumSize());
  EXPECT_EQ(Q(p, "sel2")->geometry(), QRect(400, 448, 200, 52));
  EXPECT_EQ(p.FindWidget("sel2")->Bounds(), (Rect{200, 224, 300, 250}));  // the game sees 300 x 300

  Send(Q(p, "sel2"), QEvent::MouseButtonPress, {11, 15});
  Send(Q(p, "cg"), QEvent::MouseButtonPress, {599, 1});
  Send(w, QEvent::MouseButtonPress, {599, 599});
  EXPECT_EQ(ev.log, (std::vector<std::string>{"sel2 down L 5,7", "cg down L 299,0", "cg down L 299,299"}));

  // Sharp pixels: each picture pixel is a 2 x 2 square of one colour.
  Canvas& cg = p.FindWidget("cg")->picture()->canvas();
  cg.brush_color = Rgb(255, 0, 0);
  cg.FillRect({0, 0, 1, 1});
  cg.brush_color = Rgb(0, 0, 255);
  cg.FillRect({1, 0, 2, 1});
  const QImage shot = Q(p, "cg")->grab().toImage();
  EXPECT_EQ(shot.pixelColor(1, 1), QColor(255, 0, 0));
  EXPECT_EQ(shot.pixelColor(2, 0), QColor(0, 0, 255));
  EXPECT_EQ(shot.pixelColor(3, 1), QColor(0, 0, 255));

  // Full screen: the largest multiple that fits, centred; margins count as the edge.
  p.SetFullScreen(true);
  QApplication::processEvents();
  const QSize screen = w->screen()->geometry().size();
  const int s = std::min(screen.width(), screen.height()) / 300;
  EXPECT_EQ(p.ShownScale(), s);
  EXPECT_EQ(p.client()->size(), QSize(300 * s, 300 * s));
  EXPECT_EQ(p.client()->geometry().center(), QRect(QPoint(0, 0), w->size()).center());
  ev.log.clear();
  Send(Q(p, "sel2"), QEvent::MouseButtonPress, {5 * s + s - 1, 7 * s});
  Send(w, QEvent::MouseButtonPress, {0, 0});
  EXPECT_EQ(ev.log, (std::vector<std::string>{"sel2 down L 5,7", "cg down L 0,0"}));
  p.SetFullScreen(false);
  QApplication::processEvents();
  EXPECT_EQ(w->size(), QSize(600, 600));
  EXPECT_EQ(p.ShownScale(), 2);
}

TEST_F(QtPlatformTest, PanelButtonsTakeTabArrowsAndEnter) {
  p.ShowWindow();
  p.FindWidget("bp_box")->SetVisible(true);
  WidgetSpec second = Layout("l_btn8", WidgetKind::Label, 110, 272, 93, 25, "bp_box");
  p.CreateWidget(second);
  QWidget* first = Q(p, "l_btn7");
  p.window()->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(Q(p, "cg")->focusPolicy(), Qt::NoFocus);  // only the game's buttons take Tab
  first->setFocus();
  Key(first, Qt::Key_Return);
  Key(first, Qt::Key_Down);  // on along the panel's order: the name field
  EXPECT_TRUE(Q(p, "name_l")->hasFocus());
  QWidget* second_label = Q(p, "l_btn8");
  second_label->setFocus();
  Key(second_label, Qt::Key_M, "m");  // other keys still reach the window
  Key(second_label, Qt::Key_Up);
  EXPECT_TRUE(Q(p, "item_list")->hasFocus());
  EXPECT_EQ(ev.log, (std::vector<std::string>{"l_btn7 move 0,0", "l_btn7 down L 0,0", "l_btn8 move 0,0", "key 77"}));

  // Closing the panel hands the keyboard back to the window.
  second_label->setFocus();
  p.FindWidget("bp_box")->SetVisible(false);
  EXPECT_TRUE(p.window()->hasFocus());
}

// Finds the modal box once it is up, checks its buttons and presses the one named.
void AnswerBox(const QString& press, QStringList* captions) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      AnswerBox(press, captions);  // not shown yet
      return;
    }
    for (QAbstractButton* b : box->buttons()) captions->push_back(b->text());
    captions->push_back(box->text());
    // Centred on the game's window.
    const QPoint off = box->frameGeometry().center() - box->parentWidget()->frameGeometry().center();
    if (off.manhattanLength() > 2) captions->push_back(QStringLiteral("off centre"));
    for (QAbstractButton* b : box->buttons())
      if (b->text() == press) b->click();
  });
}

TEST_F(QtPlatformTest, YesNoDialogAndMessageBox) {
  p.ShowWindow();
  QStringList seen;
  AnswerBox(QString::fromUtf8("はい"), &seen);
  EXPECT_TRUE(p.AskYesNo(J("おっと、初期化したい？") + "\r\n" + J("今までの記録とか消えるけどいい？)")));
  ASSERT_EQ(seen.size(), 3);
  EXPECT_TRUE(seen.contains(QString::fromUtf8("はい")));
  EXPECT_TRUE(seen.contains(QString::fromUtf8("いいえ")));
  EXPECT_EQ(seen.back(), QString::fromUtf8("おっと、初期化したい？\n今までの記録とか消えるけどいい？)"));

  seen.clear();
  AnswerBox(QString::fromUtf8("いいえ"), &seen);
  EXPECT_FALSE(p.AskYesNo(J("本当に消えるけどいい？)")));

  seen.clear();
  AnswerBox(QStringLiteral("OK"), &seen);
  p.ShowMessage(J("初期化完了...."));
  EXPECT_EQ(seen, (QStringList{QStringLiteral("OK"), QString::fromUtf8("初期化完了....")}));
}

TEST_F(QtPlatformTest, TimerTicksWhileWaitingAndTakesANewIntervalWhileRunning) {
  p.ShowWindow();
  p.SetTimerInterval(40);
  p.SetTimerEnabled(true);
  QElapsedTimer clock;
  clock.start();
  // The interval changes from inside a tick, as the game's rate adaptation does.
  ev.on_tick = [&] {
    if (ev.ticks == 3) p.SetTimerInterval(10);
  };
  while (ev.ticks < 3 && clock.elapsed() < 5000) p.WaitMessage();
  const qint64 slow = clock.elapsed();
  EXPECT_GE(slow, 100);  // three ticks of 40 ms
  clock.restart();
  while (ev.ticks < 13 && clock.elapsed() < 5000) p.WaitMessage();
  EXPECT_EQ(p.TimerInterval(), 10);
  // Per tick the new interval is clearly shorter (a loaded machine slows both phases).
  EXPECT_LT(clock.elapsed() / 10.0, slow / 3.0);

  p.SetTimerEnabled(false);
  const int before = ev.ticks;
  clock.restart();
  while (clock.elapsed() < 60) p.ProcessMessages();
  EXPECT_EQ(ev.ticks, before);
}

TEST_F(QtPlatformTest, ClosingCallsFormCloseOnceAndStopsInput) {
  p.ShowWindow();
  EXPECT_FALSE(p.Closed());
  p.window()->close();  // the close box
  EXPECT_TRUE(p.Closed());
  p.CloseWindow();
  EXPECT_EQ(ev.log, (std::vector<std::string>{"close"}));
  Send(Q(p, "cg"), QEvent::MouseButtonPress, {1, 1});
  EXPECT_EQ(ev.log.size(), 1u);

  QtPlatform other;
  Recorder rec;
  other.SetEvents(&rec);
  other.CloseWindow();  // even before it was shown
  EXPECT_TRUE(other.Closed());
  EXPECT_EQ(rec.log, (std::vector<std::string>{"close"}));
}

}  // namespace
