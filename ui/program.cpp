#include "program.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include "dodata.h"
#include "fonts.h"
#include "zepalt.h"

namespace dosat {

void ConfigureApplication() {
  // Only a close handler ends the program; hiding the calculation window to
  // show the table must not.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setFont(defaultFont());
  // Read as PNG by name: letting Qt guess the format would load every image
  // plugin it has before the window can show.
  QImageReader icon(QStringLiteral(":/dosat.png"), "png");
  icon.setAutoDetectImageFormat(false);
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.read())));
}

Program::Program(EndAction end) : end_(std::move(end)) {
  if (!end_) end_ = [](int exitCode) { QCoreApplication::exit(exitCode); };
}

// The windows go before the rest, without running their handlers.
Program::~Program() {
  ended_ = true;
  tableWindow_.reset();
  calculationWindow_.reset();
}

ZEPALT& Program::calculationWindow() {
  if (!calculationWindow_) calculationWindow_ = std::make_unique<ZEPALT>(*this);
  return *calculationWindow_;
}

DOData& Program::tableWindow() {
  if (!tableWindow_) tableWindow_ = std::make_unique<DOData>(*this);
  return *tableWindow_;
}

void Program::Start() { calculationWindow().Show(); }

void Program::End() {
  if (ended_) return;
  ended_ = true;
  end_(0);
}

}  // namespace dosat
