#include "navigation.h"

#include "page.h"

namespace dosat::web {

void Navigation::Shown(int window, std::string_view name) {
  if (moving_) return;  // the browser is there already
  if (entries_.empty()) {
    dosat_history_replace(name.data(), Length(name));
    entries_.push_back(window);
  } else if (entries_.back() == window) {
    return;
  } else if (entries_.size() >= 2 && entries_[entries_.size() - 2] == window) {
    // 「戻る」: the browser steps back with it, so that Back and Forward stay in step and
    // the history does not grow with each trip.
    entries_.pop_back();
    dosat_history_back();
  } else {
    dosat_history_push(name.data(), Length(name));
    entries_.push_back(window);
  }
}

void Navigation::Moved(int window) {
  if (window < 0 || entries_.empty() || entries_.back() == window) return;
  const int from = entries_.back();
  if (entries_.size() >= 2 && entries_[entries_.size() - 2] == window) {
    entries_.pop_back();
  } else {
    entries_.push_back(window);
  }
  moving_ = true;
  move_(from, window);
  moving_ = false;
}

}  // namespace dosat::web
