#include "tablepicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "tablelayout.h"
#include "tabletext.h"
#include "text.h"

namespace dosat::win32 {
namespace {

/// An RCDATA resource of the program; empty if there is none.
std::string_view Resource(const wchar_t* name) {
  HRSRC found = FindResourceW(nullptr, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const char*>(bytes), SizeofResource(nullptr, found)};
}

// The table bitmap: a bottom-up DIB after its 14-byte file header, 256 greys
// run-length encoded (BI_RLE8), which GDI draws as it is.
struct Bitmap {
  const BITMAPINFO* info = nullptr;
  const void* bits = nullptr;
  int width = 0, height = 0;
};

Bitmap LoadBitmapResource() {
  Bitmap bitmap;
  const std::string_view bytes = Resource(L"DOTABLE");
  if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return bitmap;
  BITMAPFILEHEADER file;
  std::copy_n(bytes.data(), sizeof file, reinterpret_cast<char*>(&file));
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + sizeof file);
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const std::uint64_t colours = header.biClrUsed ? header.biClrUsed : 256;
  if (file.bfType != 0x4D42 || header.biBitCount != 8 || header.biCompression != BI_RLE8 ||
      header.biWidth <= 0 || header.biHeight <= 0 || colours > 256 ||
      sizeof file + header.biSize + 4 * colours > file.bfOffBits ||
      std::uint64_t{file.bfOffBits} + header.biSizeImage > bytes.size()) {
    return bitmap;
  }
  bitmap = {info, bytes.data() + file.bfOffBits, header.biWidth, header.biHeight};
  return bitmap;
}

const Bitmap& TableBitmap() {
  static const Bitmap bitmap = LoadBitmapResource();
  return bitmap;
}

const table::TableLayout* Layout() {
  static const std::optional<table::TableLayout> layout = table::ParseLayout(Resource(L"DOTABLELAYOUT"));
  return layout ? &*layout : nullptr;
}

}  // namespace

const std::vector<table::TableRow>* TableRows() {
  static const std::optional<std::vector<table::TableRow>> rows = table::ParseTableCsv(Resource(L"DOTABLECSV"));
  return rows ? &*rows : nullptr;
}

namespace {

// The shown part of the table drawn at one resolution in one pair of colours, kept
// for the next paint.
class Drawing {
 public:
  Drawing(const table::TableLayout& layout, TableColours colours) : clip_(layout.clip) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), clip_.width, -clip_.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    SetViewportOrgEx(dc_, -clip_.x, -clip_.y, nullptr);

    const RECT all{clip_.x, clip_.y, clip_.x + clip_.width, clip_.y + clip_.height};
    HBRUSH paper = CreateSolidBrush(colours.paper);
    HBRUSH ink = CreateSolidBrush(colours.ink);
    FillRect(dc_, &all, paper);
    for (const table::PixelRect& rule : layout.rules) {
      const RECT r{rule.x, rule.y, rule.x + rule.width, rule.y + rule.height};
      FillRect(dc_, &r, ink);
    }
    DeleteObject(paper);
    DeleteObject(ink);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, colours.ink);
    SetTextAlign(dc_, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    std::map<int, HFONT> fonts;
    for (const table::TextRun& run : layout.texts) {
      HFONT& font = fonts[run.pixelSize];
      // The Windows face of the table's proportional Gothic, grey-antialiased as the
      // bitmap is.
      if (!font) {
        font = CreateFontW(-run.pixelSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                           VARIABLE_PITCH | FF_MODERN, L"ＭＳ Ｐゴシック");
      }
      SelectObject(dc_, font);
      SetTextCharacterExtra(dc_, run.letterSpacing);
      const std::wstring text = Wide(run.text);
      SIZE advance{};
      GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &advance);
      TextOutW(dc_, table::TextOrigin(run, advance.cx), run.baseline, text.c_str(), static_cast<int>(text.size()));
    }
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    for (const auto& [size, font] : fonts) DeleteObject(font);
    GdiFlush();
  }
  ~Drawing() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  void drawInto(HDC target) const {
    BitBlt(target, 0, 0, clip_.width, clip_.height, dc_, clip_.x, clip_.y, SRCCOPY);
  }

 private:
  table::PixelRect clip_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

double TableRatio(double ratio, SIZE interior) {
  const table::TableLayout* layout = Layout();
  return layout ? table::ShownRatio(*layout, ratio, interior.cx, interior.cy) : ratio;
}

void DrawTablePicture(HDC dc, double ratio, TableColours colours) {
  const table::TableLayout* layout = Layout();
  if ((ratio == 1.0 && colours == TableColours{}) || !layout) {
    const Bitmap& bitmap = TableBitmap();
    if (!bitmap.info) return;
    SetDIBitsToDevice(dc, 0, 0, bitmap.width, bitmap.height, 0, 0, 0, bitmap.height, bitmap.bits,
                      bitmap.info, DIB_RGB_COLORS);
    return;
  }
  // One drawing kept: a window shows the table at one ratio in one pair of colours,
  // until it moves to another screen, is fitted to one, or the theme changes.
  static std::optional<Drawing> drawing;
  static std::pair<double, TableColours> drawn;
  if (!drawing || drawn != std::pair{ratio, colours}) {
    drawing.reset();
    drawing.emplace(table::ScaleLayout(*layout, ratio), colours);
    drawn = {ratio, colours};
  }
  drawing->drawInto(dc);
}

std::vector<std::vector<std::wstring>> TableCells() {
  const std::vector<table::TableRow>* rows = TableRows();
  if (!rows) return {};
  std::vector<std::vector<std::wstring>> cells;
  for (int r = -1; r < static_cast<int>(rows->size()); ++r) {
    std::vector<std::wstring> line;
    for (int c = 0; c < table::kColumnCount; ++c) line.push_back(Wide(table::CellText(*rows, r, c)));
    cells.push_back(std::move(line));
  }
  return cells;
}

std::optional<RECT> TableCellArea(std::size_t row, std::size_t column, double ratio, SIZE interior) {
  const table::TableLayout* layout = Layout();
  if (!layout || row > std::size_t(table::kRowCount) || column >= std::size_t(table::kColumnCount)) return std::nullopt;
  // The headings are the layout's row -1.
  const table::PixelRect cell = table::CellRect(*layout, static_cast<int>(row) - 1, static_cast<int>(column), ratio);
  const RECT area{std::max(0, cell.x), std::max(0, cell.y), std::min<LONG>(interior.cx, cell.x + cell.width),
                  std::min<LONG>(interior.cy, cell.y + cell.height)};
  if (area.right <= area.left || area.bottom <= area.top) return std::nullopt;
  return area;
}

}  // namespace dosat::win32
