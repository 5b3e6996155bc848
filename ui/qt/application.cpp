// What the program asks of Qt before any window exists.
#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include "qtfonts.h"
#include "qtplatform.h"

namespace dosat {

// A Wayland client has no say in where its windows stand: on Qt's wayland plugin mutter
// puts a window at the screen's top left, KWin centres it again each time it is shown,
// and neither keeps the place the user moved it to. Through Xwayland the windows are
// centred when first shown and come back where they were, as on an X desktop. The
// wayland plugin stays second, for a desktop whose Xwayland cannot be reached. Qt takes
// -platform on the command line over the environment variable set here.
void ChoosePlatform() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
  const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                       qgetenv("XDG_SESSION_TYPE") == "wayland";
  if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
  }
}

void ConfigureApplication() {
  // Only a close handler ends the program; hiding the calculation window to
  // show the table must not.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setFont(DefaultFont());
  // Read as PNG by name: letting Qt guess the format would load every image
  // plugin it has before the window can show.
  QImageReader icon(QStringLiteral(":/dosat.png"), "png");
  icon.setAutoDetectImageFormat(false);
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.read())));
  // The installed menu entry's name: a Wayland desktop finds the program's icon and name
  // for its windows by it.
  QGuiApplication::setDesktopFileName(QStringLiteral(DOSAT_APP_ID));
}

}  // namespace dosat
