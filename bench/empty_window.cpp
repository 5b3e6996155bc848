// The floor bench_startup compares the program against: Qt Widgets showing one
// window of the calculation window's client size, with nothing in it.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("empty window"));
  window.resize(311, 317);
  window.show();
  return QApplication::exec();
}
