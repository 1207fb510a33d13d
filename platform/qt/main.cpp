// The program: a Qt application around the game.
#include <QApplication>
#include <QFont>
#include <QGuiApplication>

#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_platform.h"
#include "shell/program.h"

int main(int argc, char** argv) {
  // On a HiDPI screen the whole 300 x 300 picture is scaled by the exact factor;
  // nothing is laid out anew.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pomurie"));
  QApplication::setFont(QtWidgetFont(12, false));  // dialogs in the game's face
  QApplication::setQuitOnLastWindowClosed(false);  // the game decides when it ends
  QtPlatform platform;
  return RunGame(platform);
}
