#pragma once

#include <functional>
#include <memory>

#include "platform.h"

namespace dosat {

class ZEPALT;
class DOData;

/// The program's two windows, one instance each for the whole run, created on
/// first reference, and the end of the program.
class Program {
 public:
  using EndAction = std::function<void(int exitCode)>;

  /// end runs once, when the program ends; by default it leaves the
  /// platform's message loop.
  explicit Program(Platform& platform, EndAction end = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Platform& platform() const { return platform_; }

  /// The calculation window.
  ZEPALT& calculationWindow();
  /// The table window.
  DOData& tableWindow();
  /// Whether the table window has been referenced yet.
  bool hasTableWindow() const { return tableWindow_ != nullptr; }

  /// Loads and shows the calculation window.
  void Start();
  /// Ends the program with exit status 0; after it no handler runs.
  void End();
  bool hasEnded() const { return ended_; }

 private:
  Platform& platform_;
  EndAction end_;
  bool ended_ = false;
  std::unique_ptr<ZEPALT> calculationWindow_;
  std::unique_ptr<DOData> tableWindow_;
};

}  // namespace dosat
