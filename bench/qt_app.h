// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt benchmarks draw text, which needs an application; offscreen unless the
// caller chose a platform.
#pragma once

#include <QApplication>

#include <cstdlib>

inline QApplication& BenchApp() {
  static int argc = 1;
  static char name[] = "bench";
  static char* argv[] = {name, nullptr};
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication app(argc, argv);
  return app;
}
