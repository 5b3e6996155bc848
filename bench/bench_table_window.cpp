// How long the first press of the table button takes until the table window
// is shown: the window, its controls and the decoding of the table picture
// all happen then, not at start-up. Run with a display, or with
// QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "dodata.h"
#include "program.h"
#include "qtplatform.h"
#include "zepalt.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  dosat::ConfigureApplication();
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

  dosat::QtPlatform platform;
  std::vector<double> loaded, shown;
  for (int round = 0; round < rounds + 2; ++round) {  // two rounds to warm up
    dosat::Program program(platform, [](int) {});
    program.Start();
    if (!QTest::qWaitForWindowExposed(dosat::qt::Window(program.calculationWindow()))) return 1;

    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(dosat::qt::WidgetOf(program.calculationWindow().Command3), Qt::LeftButton);
    const double load = timer.nsecsElapsed() / 1e6;
    if (!QTest::qWaitForWindowExposed(dosat::qt::Window(program.tableWindow()))) return 1;
    const double show = timer.nsecsElapsed() / 1e6;
    if (round >= 2) {
      loaded.push_back(load);
      shown.push_back(show);
    }
  }
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("first press of the table button, %d rounds, platform %s\n", rounds,
              qPrintable(QGuiApplication::platformName()));
  std::printf("  until the table window is made and shown:  median %.2f ms  min %.2f ms\n",
              median(loaded), *std::min_element(loaded.begin(), loaded.end()));
  std::printf("  until it is exposed on the screen:         median %.2f ms  min %.2f ms\n",
              median(shown), *std::min_element(shown.begin(), shown.end()));
  return 0;
}
