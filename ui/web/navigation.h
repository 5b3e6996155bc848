#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace dosat::web {

/// The browser's session history as the way between the windows: each window shown in
/// turn is an entry, so that the browser's Back returns from the table window as 「戻る」
/// does, and Forward goes there again.
class Navigation {
 public:
  /// `move` hides the window shown and shows the window of another entry.
  explicit Navigation(std::function<void(int from, int to)> move) : move_(std::move(move)) {}

  /// The program has shown `window` (a handle, named `name`): a new entry, or the step
  /// back to the entry before, where that is the window's.
  void Shown(int window, std::string_view name);
  /// The browser has moved to the entry of `window` (-1: none of the program's).
  void Moved(int window);

 private:
  std::function<void(int from, int to)> move_;
  std::vector<int> entries_;  // the program's entries up to the current one
  bool moving_ = false;
};

}  // namespace dosat::web
