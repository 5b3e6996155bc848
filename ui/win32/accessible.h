#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dosat::win32 {

/// What a screen reader reads of one control, beyond what Windows knows of it.
struct AccessibleText {
  std::wstring name;
  std::wstring description;
  /// For a table: its cells row by row, the column headings first. Empty for
  /// any other control.
  std::vector<std::vector<std::wstring>> cells;
  /// For a table: where the cell in a row of `cells` and a column lies in the control's
  /// client area; nothing where it is not shown.
  std::function<std::optional<RECT>(std::size_t row, std::size_t column)> cellArea;
};

/// Makes the control answer assistive technology (MSAA, and UI Automation
/// through it) with `text` over the accessible object Windows makes for it.
/// Once the control is destroyed, an object that a screen reader still holds
/// answers CO_E_OBJNOTCONNECTED to every request.
void ProvideAccessibleText(HWND control, AccessibleText text);

/// Tells assistive technology that a box's value changed, and has it read
/// `announcement` without the focus moving there.
void AnnounceValue(HWND control, const std::wstring& announcement);

}  // namespace dosat::win32
