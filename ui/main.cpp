#include <QApplication>

#include "program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  dosat::ConfigureApplication();
  dosat::Program program;
  program.Start();
  return QApplication::exec();
}
