#include <QApplication>

#include "program.h"
#include "qtplatform.h"

int main(int argc, char** argv) {
  dosat::ChoosePlatform();
  QApplication app(argc, argv);
  dosat::ConfigureApplication();
  dosat::QtPlatform platform;
  dosat::Program program(platform);
  program.Start();
  return QApplication::exec();
}
