// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QWheelEvent>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/bmp.h"
#include "platform/qt/end_requests.h"
#include "platform/qt/qt_keys.h"
#include "platform/text.h"

namespace {

constexpr int kClientSize = 300;
constexpr int kMaxScale = 4;

MouseButton ButtonOf(const QMouseEvent* e) {
  switch (e->button()) {
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

QImage ImageOfBmp(const BmpImage& bmp) {
  QImage img(bmp.width, bmp.height, QImage::Format_RGB32);
  for (int y = 0; y < bmp.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
    const uint32_t* src = bmp.pixels.data() + static_cast<size_t>(y) * bmp.width;
    for (int x = 0; x < bmp.width; ++x) row[x] = 0xFF000000u | src[x];
  }
  return img;
}

QString DialogText(const std::string& cp932) {
  QString s = QtText(cp932);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

// A message box that places itself over the middle of the game's window once its
// final size is known (Qt's own guess is made before the box has laid itself out).
class CentredBox : public QMessageBox {
 public:
  explicit CentredBox(QWidget* window) : QMessageBox(window), window_(window) {
    setWindowTitle(window->windowTitle());
    setWindowModality(Qt::ApplicationModal);
  }

 protected:
  void showEvent(QShowEvent* e) override {
    QMessageBox::showEvent(e);
    QRect over = window_->frameGeometry();
    if (!window_->isVisible()) {
      if (QScreen* screen = QGuiApplication::primaryScreen()) over = screen->availableGeometry();
    }
    const QRect frame = frameGeometry();
    move(over.center() - QPoint(frame.width() / 2, frame.height() / 2));
  }

 private:
  QWidget* window_;
};

}  // namespace

// ---------------------------------------------------------------------------------
// QtMainWindow

QtMainWindow::QtMainWindow(QtPlatform& platform)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      platform_(platform) {
  setFixedSize(kClientSize, kClientSize);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  setMouseTracking(true);
  // Keys reach the window when nothing in it has the focus; Tab never stops on it.
  setFocusPolicy(Qt::ClickFocus);
}

void QtMainWindow::mousePressEvent(QMouseEvent* e) {
  platform_.DeliverBackgroundDown(ButtonOf(e), e->position().toPoint());
}

void QtMainWindow::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void QtMainWindow::mouseMoveEvent(QMouseEvent* e) { platform_.DeliverBackgroundMove(e->position().toPoint()); }

// The window's own menu, on the Menu key or Shift+F10 (X11 window managers let no
// program add to theirs, and the right mouse button belongs to the game). Each
// entry names its key and acts exactly as that key does.
void QtMainWindow::contextMenuEvent(QContextMenuEvent* e) {
  if (e->reason() == QContextMenuEvent::Keyboard) ShowWindowMenu();
}

void QtMainWindow::ShowWindowMenu() {
  QMenu menu(this);
  const struct {
    const char* text;
    int vk;
  } entries[] = {
      {"大きく (+)", vk::kPlus},
      {"小さく (-)", vk::kMinus},
      {"全画面 (F11)", vk::kF11},
      {"音を消す・戻す (M)", vk::kM},
  };
  for (const auto& entry : entries) {
    const int key = entry.vk;
    menu.addAction(QString::fromUtf8(entry.text), [this, key] { platform_.DeliverFormKey(key); });
  }
  menu.exec(mapToGlobal(QPoint(0, 0)));
}

void QtMainWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  platform_.PlaceClient();
}

void QtMainWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F10 && e->modifiers().testFlag(Qt::ShiftModifier)) {
    ShowWindowMenu();
    return;
  }
  const int vk = QtKeyToVk(e->key());
  if (vk == 0) {
    QWidget::keyPressEvent(e);
    return;
  }
  platform_.DeliverFormKey(vk);
}

void QtMainWindow::wheelEvent(QWheelEvent* e) {
  platform_.DeliverWheel(e->angleDelta().y());
  e->accept();
}

void QtMainWindow::closeEvent(QCloseEvent* e) {
  platform_.HandleClose();
  e->accept();
}

// ---------------------------------------------------------------------------------
// QtPlatform

QtPlatform::QtPlatform()
    : places_(FindFilePlaces(QCoreApplication::applicationDirPath().toStdString() + "/",
                             [](const char* name) -> const char* { return std::getenv(name); })),
      window_(std::make_unique<QtMainWindow>(*this)) {
  client_ = new QWidget(window_.get());
  client_->setGeometry(0, 0, kClientSize, kClientSize);
  client_->setMouseTracking(true);  // moves over the background reach the window

  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(interval_ms_);
  QObject::connect(&timer_, &QTimer::timeout, window_.get(), [this] { Tick(); });
  timer_.start();
  WatchEndRequests(window_.get(), [this] { EndRequested(); });
  WatchDisplayLoss(this, [this] { DisplayLost(); });
}

void QtPlatform::EndRequested() {
  if (closed_) return;
  unattended_ = true;
  CloseWindow();
  // A question or message open at that moment must not keep the program alive.
  if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
}

void QtPlatform::DisplayLost() {
  if (closing_ || closed_ || !events_) return;
  closing_ = unattended_ = true;
  std::fputs("ポムリエ: 画面との接続が切れたので、セーブして終わります\n", stderr);
  audio_.Silence();
  // On a thread of its own: exit() has already ended this thread's thread-local
  // objects (the text converters among them). This thread waits, so the game's
  // state is still touched by one thread at a time.
  std::thread([this] { events_->FormSuspend(); }).join();
  closed_ = true;
  if (unattended_failed_) ::_exit(kExitUnsavedEnd);
}

bool QtPlatform::LockSave() {
  if (!save_lock_.Take(places_.user_dir)) return false;
  save_lock_.ListenForRaise(window_.get(), [this] {
    if (closed_) return;
    if (window_->isMinimized()) window_->showNormal();
    window_->raise();
    window_->activateWindow();
  });
  return true;
}

void QtPlatform::RaiseRunningGame() { SaveLock::AskHolderToRaise(places_.user_dir); }

QtPlatform::~QtPlatform() {
  StopWatchingDisplayLoss(this);
  timer_.stop();
  audio_.Close();
  // The window owns every Qt widget; the wrappers (and their pictures) go after it.
  window_.reset();
  by_name_.clear();
  widgets_.clear();
}

std::unique_ptr<Picture> QtPlatform::CreatePicture(int width, int height) {
  return std::make_unique<QtPicture>(width, height);
}

std::unique_ptr<Picture> QtPlatform::LoadPicture(const std::string& path) {
  std::optional<BmpImage> bmp = ReadBmpFile(path);
  if (!bmp || bmp->width <= 0 || bmp->height <= 0) return nullptr;
  return std::make_unique<QtPicture>(ImageOfBmp(*bmp));
}

Widget& QtPlatform::CreateWidget(const WidgetSpec& layout) {
  QWidget* parent = client_;
  if (!layout.parent.empty()) {
    auto it = by_name_.find(layout.parent);
    if (it != by_name_.end()) parent = it->second->qwidget();
  }
  auto w = std::make_unique<QtWidget>(*this, layout, parent);
  w->ApplyScale(shown_scale_);
  QtWidget* raw = w.get();
  widgets_.push_back(std::move(w));
  by_name_[layout.name] = raw;
  return *raw;
}

Widget* QtPlatform::FindWidget(std::string_view name) {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : it->second;
}

void QtPlatform::SetWindowTitle(const std::string& cp932) {
  window_->setWindowTitle(QtText(cp932));
  QGuiApplication::setApplicationDisplayName(QtText(cp932));
}

void QtPlatform::SetWindowIcon(const std::string& path) {
  std::optional<BmpImage> bmp = ReadBmpFile(path);
  if (!bmp || bmp->width <= 0 || bmp->height <= 0) return;  // no icon file: keep the default
  const QIcon icon(QPixmap::fromImage(ImageOfBmp(*bmp)));
  window_->setWindowIcon(icon);
  QGuiApplication::setWindowIcon(icon);
}

void QtPlatform::ShowWindow() {
  if (!full_screen_) window_->setFixedSize(kClientSize * scale_, kClientSize * scale_);
  QScreen* screen = QGuiApplication::primaryScreen();
  auto centre = [&] {
    if (!screen) return;
    const QRect frame = window_->frameGeometry();
    window_->move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
  };
  centre();
  RepaintChanged();
  window_->show();
  centre();  // again, now that the frame's size is known
  window_->raise();
  window_->activateWindow();
  window_->setFocus(Qt::ActiveWindowFocusReason);
}

void QtPlatform::HandleClose() {
  if (closing_ || closed_) return;
  closing_ = true;
  if (events_) events_->FormClose();
  closed_ = true;
  timer_.stop();
}

void QtPlatform::CloseWindow() {
  HandleClose();
  window_->hide();
}

void QtPlatform::SetWindowScale(int scale) {
  scale_ = std::clamp(scale, 1, kMaxScale);
  if (full_screen_) return;  // applies on leaving full screen
  const bool shown = window_->isVisible();
  const QPoint centre = window_->frameGeometry().center();
  window_->setFixedSize(kClientSize * scale_, kClientSize * scale_);
  PlaceClient();
  if (!shown) return;
  // Grow or shrink about the old centre, kept on the screen.
  QRect frame = window_->frameGeometry();
  frame.setSize(frame.size() - window_->geometry().size() + window_->size());
  frame.moveCenter(centre);
  if (QScreen* screen = window_->screen()) {
    const QRect avail = screen->availableGeometry();
    frame.moveLeft(std::max(avail.left(), std::min(frame.left(), avail.right() + 1 - frame.width())));
    frame.moveTop(std::max(avail.top(), std::min(frame.top(), avail.bottom() + 1 - frame.height())));
  }
  window_->move(frame.topLeft());
}

void QtPlatform::SetFullScreen(bool on) {
  if (on == full_screen_) return;
  full_screen_ = on;
  if (on) {
    normal_pos_ = window_->pos();
    window_->setMinimumSize(0, 0);
    window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window_->showFullScreen();
    // Without a window manager nobody acts on the full-screen request: cover the
    // screen ourselves (a manager that did already gave the window this size).
    if (QScreen* screen = window_->screen()) window_->setGeometry(screen->geometry());
  } else {
    window_->showNormal();
    window_->setFixedSize(kClientSize * scale_, kClientSize * scale_);
    window_->move(normal_pos_);
  }
  PlaceClient();
}

void QtPlatform::PlaceClient() {
  QSize area = window_->size();
  int s = scale_;
  if (full_screen_) {
    // Until the window manager has resized the window, the screen is the measure.
    if (QScreen* screen = window_->screen(); screen && area.width() < screen->geometry().width()) {
      area = screen->geometry().size();
    }
    s = std::max(1, std::min(area.width(), area.height()) / kClientSize);
  }
  if (s != shown_scale_) {
    shown_scale_ = s;
    for (auto& w : widgets_) w->ApplyScale(s);
  }
  const int side = kClientSize * s;
  client_->setGeometry((area.width() - side) / 2, (area.height() - side) / 2, side, side);
  if (!full_screen_) client_->move(0, 0);
}

QPoint QtPlatform::PicturePoint(QPoint window_pos) const {
  const QPoint d = window_pos - client_->pos();
  // Whole picture pixels; the black margins of full screen count as the nearest edge.
  auto axis = [&](int v) { return std::clamp(v < 0 ? -1 : v / shown_scale_, 0, kClientSize - 1); };
  return QPoint(axis(d.x()), axis(d.y()));
}

void QtPlatform::DeliverBackgroundDown(MouseButton button, QPoint window_pos) {
  const QPoint p = PicturePoint(window_pos);
  DeliverMouseDown(MouseRoute{MouseRoute::Cg, 0}, button, p.x(), p.y());
}

void QtPlatform::DeliverBackgroundMove(QPoint window_pos) {
  const QPoint p = PicturePoint(window_pos);
  DeliverMouseMove(MouseRoute{MouseRoute::Cg, 0}, p.x(), p.y());
}

bool QtPlatform::ControlHeld() const {
  // A dialog has the keyboard: the skip must not run behind it.
  if (closed_ || QApplication::activeModalWidget() || !window_->isActiveWindow()) return false;
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

void QtPlatform::SetTimerInterval(int ms) {
  interval_ms_ = ms < 1 ? 1 : ms;
  timer_.setInterval(interval_ms_);  // an active timer restarts with the new interval
}

void QtPlatform::SetTimerEnabled(bool enabled) {
  timer_enabled_ = enabled;
  if (enabled && !closed_) {
    if (!timer_.isActive()) timer_.start(interval_ms_);
  } else {
    timer_.stop();
  }
}

void QtPlatform::Tick() {
  if (!events_ || in_timer_ || closed_) return;
  in_timer_ = true;
  events_->Timer1Timer();
  in_timer_ = false;
  RepaintChanged();
}

void QtPlatform::RepaintChanged() {
  for (auto& w : widgets_) w->RepaintIfChanged();
}

int64_t QtPlatform::NowMs() const { return QDateTime::currentMSecsSinceEpoch(); }

void QtPlatform::ProcessMessages() {
  RepaintChanged();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::WaitMessage() {
  RepaintChanged();
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool QtPlatform::AskYesNo(const std::string& cp932) {
  if (closed_ || unattended_) return false;  // nobody is there to answer
  CentredBox box(window_.get());
  box.setIcon(QMessageBox::Question);
  box.setText(DialogText(cp932));
  QPushButton* yes = box.addButton(QString::fromUtf8("はい"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QString::fromUtf8("いいえ"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

void QtPlatform::ShowMessage(const std::string& cp932) {
  if (unattended_) {
    // Nobody will click a box now: a log-out must not wait on the game.
    std::string text = Cp932ToUtf8(cp932);
    for (size_t at; (at = text.find('\r')) != std::string::npos;) text.erase(at, 1);
    std::fprintf(stderr, "ポムリエ: %s\n", text.c_str());
    return;
  }
  if (closed_) return;
  CentredBox box(window_.get());
  box.setIcon(QMessageBox::Information);
  box.setText(DialogText(cp932));
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

void QtPlatform::ShowFailure(const std::string& cp932) {
  if (unattended_) unattended_failed_ = true;
  ShowMessage(cp932);
}

void QtPlatform::DeliverMouseDown(const MouseRoute& route, MouseButton button, int x, int y) {
  if (!events_ || closed_) return;
  switch (route.kind) {
    case MouseRoute::Cg: events_->cgMouseDown(button, x, y); break;
    case MouseRoute::Sel: events_->selMouseDown(route.k, button, x, y); break;
    case MouseRoute::LBtn: events_->l_btnMouseDown(route.k, button, x, y); break;
    case MouseRoute::Panel:  // a press on a panel's background does nothing
    case MouseRoute::None: break;
  }
}

void QtPlatform::DeliverMouseMove(const MouseRoute& route, int x, int y) {
  if (!events_ || closed_) return;
  switch (route.kind) {
    case MouseRoute::Cg: events_->cgMouseMove(x, y); break;
    case MouseRoute::Sel: events_->selMouseMove(route.k, x, y); break;
    case MouseRoute::LBtn: events_->l_btnMouseMove(route.k, x, y); break;
    case MouseRoute::Panel: events_->bp_boxMouseMove(x, y); break;
    case MouseRoute::None: break;
  }
}

void QtPlatform::DeliverFormKey(int vk) {
  if (events_ && !closed_) events_->FormKeyDown(vk);
}

void QtPlatform::DeliverWheel(int angle_delta) {
  constexpr int kNotch = 120;
  // A turn the other way starts counting afresh.
  if ((angle_delta > 0 && wheel_rest_ < 0) || (angle_delta < 0 && wheel_rest_ > 0)) wheel_rest_ = 0;
  wheel_rest_ += angle_delta;
  const int steps = wheel_rest_ / kNotch;
  wheel_rest_ -= steps * kNotch;
  if (steps != 0 && events_ && !closed_) events_->FormMouseWheel(steps);
}
