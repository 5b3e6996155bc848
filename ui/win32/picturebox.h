#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The picture box of the table window: a window class of its own that draws the table.
namespace dosat::win32 {

/// The picture box's window class.
inline constexpr wchar_t kPictureClass[] = L"DosatPictureBox";

/// Registers the picture box's class, once, with `cursor`.
void RegisterPictureBox(HCURSOR cursor);

}  // namespace dosat::win32
