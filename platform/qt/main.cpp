// SPDX-License-Identifier: GPL-3.0-or-later
// The program: a Qt application around the game.
#include <QApplication>
#include <QFont>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/paths.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_platform.h"
#include "shell/program.h"

int main(int argc, char** argv) {
  // --help and --version answer without a display.
  const std::vector<std::string> args(argv, argv + argc);
  const FilePlaces places =
      FindFilePlaces(RunningExeDir(), [](const char* name) -> const char* { return std::getenv(name); });
  const CommandLineReply reply = ReadCommandLine(args, places, POMURIE_VERSION);
  if (reply.exit) {
    std::fputs(reply.text.c_str(), stdout);
    return reply.code;
  }

  // On a HiDPI screen the whole 300 x 300 picture is scaled by the exact factor;
  // nothing is laid out anew.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pomurie"));
  QApplication::setApplicationVersion(QStringLiteral(POMURIE_VERSION));
  // Lets the desktop match the window to its desktop entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(POMURIE_APP_ID));
  QApplication::setFont(QtWidgetFont(12, false));  // dialogs in the game's face
  QApplication::setQuitOnLastWindowClosed(false);  // the game decides when it ends
  QtPlatform platform;
  const int code = RunGame(platform);
  return platform.UnattendedEndFailed() ? QtPlatform::kExitUnsavedEnd : code;
}
