#include <QApplication>
#include <QIcon>

#include "fonts.h"
#include "program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Closing a window runs its close handler, which ends the program; hiding
  // the calculation window to show the table must not.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setFont(dosat::defaultFont());
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/dosat.png")));

  dosat::Program program;
  program.Start();
  return QApplication::exec();
}
