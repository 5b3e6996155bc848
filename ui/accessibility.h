#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "design.h"
#include "tablenumbers.h"

// How the keyboard and screen readers meet the windows' controls, decided once for every
// platform: which controls take the focus and in what order Tab visits them, and what a
// screen reader is told of each beyond its kind and its own text.
namespace dosat::accessibility {

/// Whether a control of this kind takes the keyboard focus: every kind but a label.
bool TakesFocus(design::Kind kind);

/// The rows of `window` that take the focus, in the order Tab visits them: ascending
/// tab index, rows of one index in their listed order.
std::vector<std::size_t> TabOrder(const design::Window& window);

/// The order a platform makes the controls of `window` in: those that take the focus in
/// the order Tab visits them, where a dialog manager or a page's order of elements makes
/// that the Tab order, then the labels in their listed order, which so lie under the
/// boxes they reach into.
std::vector<std::size_t> CreationOrder(const design::Window& window);

/// What a screen reader is told of one control.
struct Told {
  /// The label that names the control, and the one that says what to type into it.
  std::optional<std::size_t> labelledBy, describedBy;
  /// The name and description those give, or the control's own (the table's title and
  /// what it is, for the picture box); empty where there is none.
  std::string name, description;
};

/// What a screen reader is told of the control in row `row` of `window`; the picture
/// box's description holds the table's numbers where `tableRows` gives them.
Told WhatReadersAreTold(const design::Window& window, std::size_t row,
                        const std::vector<table::TableRow>* tableRows = nullptr);

/// What a screen reader says when the value of the control in row `row` changes to
/// `value`: the name it is told of the control, then the value.
std::string Announcement(const design::Window& window, std::size_t row, std::string_view value);

}  // namespace dosat::accessibility
