#include "picturebox.h"

#include <cstdint>

#include "contrast.h"
#include "newerwindows.h"
#include "tablepicture.h"
#include "theme.h"

namespace dosat::win32 {
namespace {

// The table drawn at its window's ratio from the top-left corner
// of the box's interior, inside the sunken edge, and cut off at its edges.
// In the table's ink and paper for the desktop's palette. The window keeps the ratio
// where GWLP_USERDATA points.
void PaintPicture(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  const TableColours colours = contrast::TableColoursOn(DesktopColours());
  HBRUSH paper = CreateSolidBrush(static_cast<COLORREF>(colours.paper));
  FillRect(dc, &client, paper);
  DeleteObject(paper);
  const auto* ratio = reinterpret_cast<const double*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  DrawTablePicture(dc, ratio ? *ratio : WindowDpi(hwnd) / 96.0, colours);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      PaintPicture(hwnd, dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintPicture(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterPictureBox(HCURSOR cursor) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW picture{sizeof picture};
  if (!GetClassInfoExW(instance, kPictureClass, &picture)) {
    picture = WNDCLASSEXW{sizeof picture};
    // Drawn whole again when it is resized: the drawing is made for the box's size.
    picture.style = CS_HREDRAW | CS_VREDRAW;
    picture.lpfnWndProc = PictureProc;
    picture.hInstance = instance;
    picture.hCursor = cursor;
    picture.lpszClassName = kPictureClass;
    RegisterClassExW(&picture);
  }
}

}  // namespace dosat::win32
