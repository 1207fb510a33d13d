// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/end_requests.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace {

int g_pipe[2] = {-1, -1};

// Set and cleared on the UI thread; read from exit() on whichever thread called it.
std::function<void()>* g_display_lost = nullptr;
const void* g_display_owner = nullptr;
std::thread::id g_ui_thread;

void OnExit() {
  if (!g_display_lost || std::this_thread::get_id() != g_ui_thread) return;
  std::function<void()> lost = std::move(*g_display_lost);
  delete g_display_lost;
  g_display_lost = nullptr;
  g_display_owner = nullptr;
  if (lost) lost();
}

void OnSignal(int) {
  const int saved_errno = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);  // a full pipe already holds a request
  errno = saved_errno;
}

}  // namespace

void WatchEndRequests(QObject* context, std::function<void()> close) {
  if (g_pipe[0] < 0) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
  }
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [close] {
    char buf[64];
    while (::read(g_pipe[0], buf, sizeof buf) > 0) {
    }
    close();
  });
  // The session manager asks before it ends the session: the game ends as if closed.
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    QObject::connect(app, &QGuiApplication::commitDataRequest, context, [close](QSessionManager&) { close(); });
  }
}

void WatchDisplayLoss(const void* owner, std::function<void()> lost) {
  static const bool registered = std::atexit(OnExit) == 0;
  if (!registered) return;
  delete g_display_lost;
  g_ui_thread = std::this_thread::get_id();
  g_display_lost = new std::function<void()>(std::move(lost));
  g_display_owner = owner;
}

void StopWatchingDisplayLoss(const void* owner) {
  if (owner != g_display_owner) return;
  delete g_display_lost;
  g_display_lost = nullptr;
  g_display_owner = nullptr;
}
