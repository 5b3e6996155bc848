#include "program.h"

#include "dodata.h"
#include "zepalt.h"

namespace dosat {

Program::Program(Platform& platform, EndAction end) : platform_(platform), end_(std::move(end)) {
  if (!end_) end_ = [&platform](int exitCode) { platform.Quit(exitCode); };
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
