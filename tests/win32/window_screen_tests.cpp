// Screens and themes: the table window fitted again when the screen changes, and every
// text readable in dark and high-contrast system colours.
#include "window_fixture.h"

namespace window_tests {
namespace {

// Windows tells a window of a new resolution (moved to another monitor, or the user's
// new setting) with WM_DPICHANGED and the rectangle it suggests; wine sends none. At
// 150 % the table window does not fit this screen: it is fitted as one piece, its table
// drawn afresh; back at 100 % it has its designed size and the table bitmap again.
TEST_F(Win32Windows, ResolutionChangeFitsTheTableWindowAgain) {
  Press(Calc("Command3"));
  HWND table = Table();
  ASSERT_EQ(program_->tableWindow().Scale(), 1.0f);
  const auto change = [table](UINT dpi) {
    RECT r;
    GetWindowRect(table, &r);
    RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, static_cast<int>(dpi), 96),
                   r.top + MulDiv(r.bottom - r.top, static_cast<int>(dpi), 96)};
    SendMessageW(table, dosat::win32::kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
  };
  change(144);
  const float scale = program_->tableWindow().Scale();
  EXPECT_LT(scale, 1.0f);
  EXPECT_GT(scale, 0.5f);
  ExpectInWorkArea(table);
  ExpectInWorkArea(TableControl("Command1"));
  EXPECT_EQ(ClientSize(table).cy, static_cast<int>(10485 / (1440 / (144 * static_cast<double>(scale))) + 0.5));
  ExpectDrawnAfresh(TableControl("Picture1"));

  change(96);
  EXPECT_EQ(program_->tableWindow().Scale(), 1.0f);
  EXPECT_EQ(ClientSize(table).cx, 495);
  EXPECT_EQ(ClientSize(table).cy, 699);
  ExpectInWorkArea(table);
  ExpectDrawnAfresh(TableControl("Picture1"));
}

// A taskbar grown while the table is shown leaves it less room: it is fitted to what is
// left, and takes its own size again once there is room, moved no more than it must.
TEST_F(Win32Windows, WorkAreaChangeFitsTheTableWindowAgain) {
  Press(Calc("Command3"));
  HWND table = Table();
  // As a taskbar sets it; Windows then tells every window, which wine leaves undone.
  const auto setWorkArea = [&](RECT area) {
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, SPIF_SENDCHANGE));
    for (HWND window : {calc_, table}) SendMessageW(window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    Pump();
  };
  RECT work;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  RECT smaller = work;
  smaller.top += 100;
  smaller.bottom -= 400;
  setWorkArea(smaller);
  const float scale = program_->tableWindow().Scale();
  RECT fitted;
  GetWindowRect(table, &fitted);
  ExpectInWorkArea(table);
  ExpectInWorkArea(TableControl("Command1"));
  setWorkArea(work);
  EXPECT_LT(scale, 1.0f);
  EXPECT_GE(fitted.top, smaller.top);
  EXPECT_EQ(program_->tableWindow().Scale(), 1.0f);
  RECT now;
  GetWindowRect(table, &now);
  EXPECT_EQ(now.left, fitted.left);
  EXPECT_EQ(now.top, fitted.top);
  ExpectInWorkArea(table);
  ExpectDrawnAfresh(TableControl("Picture1"));
}

// ---- On every desktop palette ----

// A window's client area as the screen shows it, pixels 0x00RRGGBB row by row.
struct Shot {
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
  // 0x00BBGGRR, as the contrast rule takes it.
  std::uint32_t at(int x, int y) const {
    const DWORD p = pixels[static_cast<std::size_t>(y * width + x)];
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
  }
};

Shot ShotOf(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  const SIZE size = ClientSize(hwnd);
  return {size.cx, size.cy, ClientPixels(hwnd, false)};
}

struct Ink {
  std::uint32_t text, background;
  double ratio;
};

// The text inside `r`, clear of the control's edges: the background is the
// commonest colour there, the text the pixel that stands out from it most, since
// anti-aliased edges lie between the two.
Ink InkIn(const Shot& shot, RECT r) {
  std::map<std::uint32_t, int> counts;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) ++counts[shot.at(x, y)];
  }
  Ink ink{0, 0, 1.0};
  int most = 0;
  for (const auto& [colour, count] : counts) {
    if (count > most) std::tie(most, ink.background) = std::pair{count, colour};
  }
  for (const auto& [colour, count] : counts) {
    const double ratio = dosat::contrast::Ratio(colour, ink.background);
    if (ratio > ink.ratio) std::tie(ink.ratio, ink.text) = std::pair{ratio, colour};
  }
  return ink;
}

RECT Inside(HWND control, int inset) {
  RECT r = ClientRectIn(control);
  return {r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
}

// The system colours a test sets, and sets back afterwards.
using SysColours = std::vector<std::pair<int, COLORREF>>;

void SetColours(const SysColours& colours) {
  std::vector<int> indices;
  std::vector<COLORREF> values;
  for (const auto& [index, value] : colours) {
    indices.push_back(index);
    values.push_back(value);
  }
  SetSysColors(static_cast<int>(indices.size()), indices.data(), values.data());
  Pump();
}

SysColours ColoursNow(const SysColours& like) {
  SysColours now;
  for (const auto& [index, value] : like) now.emplace_back(index, GetSysColor(index));
  return now;
}

struct Theme {
  const char* name;
  bool highContrast;
  SysColours colours;
};

const Theme kDark{"dark", false,
                  {{COLOR_WINDOW, RGB(0x1E, 0x1E, 0x1E)}, {COLOR_WINDOWTEXT, RGB(0xE8, 0xE8, 0xE8)},
                   {COLOR_BTNFACE, RGB(0x33, 0x33, 0x33)}, {COLOR_BTNTEXT, RGB(0xE8, 0xE8, 0xE8)},
                   {COLOR_BTNHIGHLIGHT, RGB(0x55, 0x55, 0x55)}, {COLOR_3DLIGHT, RGB(0x44, 0x44, 0x44)},
                   {COLOR_BTNSHADOW, RGB(0x22, 0x22, 0x22)}, {COLOR_3DDKSHADOW, RGB(0x11, 0x11, 0x11)}}};
// Windows' own "High Contrast Black" and "High Contrast White".
const Theme kHighContrastBlack{"high_contrast_black", true,
                               {{COLOR_WINDOW, RGB(0, 0, 0)}, {COLOR_WINDOWTEXT, RGB(0xFF, 0xFF, 0xFF)},
                                {COLOR_BTNFACE, RGB(0, 0, 0)}, {COLOR_BTNTEXT, RGB(0xFF, 0xFF, 0xFF)},
                                {COLOR_HIGHLIGHT, RGB(0x1A, 0xEB, 0xFF)}, {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
                                {COLOR_GRAYTEXT, RGB(0x3F, 0xF2, 0x3F)}, {COLOR_BTNHIGHLIGHT, RGB(0xFF, 0xFF, 0xFF)},
                                {COLOR_3DLIGHT, RGB(0xC0, 0xC0, 0xC0)}, {COLOR_BTNSHADOW, RGB(0x80, 0x80, 0x80)},
                                {COLOR_3DDKSHADOW, RGB(0xFF, 0xFF, 0xFF)}}};
const Theme kHighContrastWhite{"high_contrast_white", true,
                               {{COLOR_WINDOW, RGB(0xFF, 0xFF, 0xFF)}, {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
                                {COLOR_BTNFACE, RGB(0xFF, 0xFF, 0xFF)}, {COLOR_BTNTEXT, RGB(0, 0, 0)},
                                {COLOR_HIGHLIGHT, RGB(0x37, 0x00, 0x6E)}, {COLOR_HIGHLIGHTTEXT, RGB(0xFF, 0xFF, 0xFF)},
                                {COLOR_GRAYTEXT, RGB(0x60, 0x00, 0x00)}, {COLOR_BTNHIGHLIGHT, RGB(0, 0, 0)},
                                {COLOR_3DLIGHT, RGB(0x40, 0x40, 0x40)}, {COLOR_BTNSHADOW, RGB(0x80, 0x80, 0x80)},
                                {COLOR_3DDKSHADOW, RGB(0, 0, 0)}}};

class Win32Themes : public Win32Windows, public ::testing::WithParamInterface<Theme> {
 protected:
  void SetUp() override {
    before_ = ColoursNow(GetParam().colours);
    dosat::win32::ReportHighContrast(GetParam().highContrast);
    SetColours(GetParam().colours);
    Win32Windows::SetUp();
  }
  void TearDown() override {
    Win32Windows::TearDown();
    dosat::win32::ReportHighContrast(std::nullopt);
    SetColours(before_);
  }
  SysColours before_;
};

// Every text of both windows, as drawn, at 4.5:1 or more against what it is drawn on;
// in high contrast the theme's colours alone.
TEST_P(Win32Themes, EveryTextReadsAtFourAndAHalfToOne) {
  const Theme& theme = GetParam();
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  SetFocus(nullptr);  // no caret, no focus rectangle
  const Shot calc = ShotOf(calc_);
  for (const dosat::design::Control& row : kCalculationWindow.controls) {
    SCOPED_TRACE(std::string(row.name));
    const Ink ink = InkIn(calc, Inside(Calc(row.name), row.kind == dosat::design::Kind::Label ? 0 : 4));
    EXPECT_GE(ink.ratio, 4.5) << std::hex << ink.text << " on " << ink.background;
    if (theme.highContrast && row.colour != dosat::design::kDefaultColour) {
      EXPECT_EQ(ink.text, dosat::win32::SystemColour(COLOR_WINDOWTEXT)) << "the designed colour is not dropped";
    }
  }

  Press(Calc("Command3"));
  SetFocus(nullptr);
  const Shot table = ShotOf(Table());
  const Ink picture = InkIn(table, Inside(TableControl("Picture1"), 2));
  EXPECT_GE(picture.ratio, 4.5) << std::hex << picture.text << " on " << picture.background;
  EXPECT_EQ(picture.background,
            theme.highContrast ? dosat::win32::SystemColour(COLOR_WINDOW) : std::uint32_t{0xFFFFFF});
  EXPECT_GE(InkIn(table, Inside(TableControl("Command1"), 4)).ratio, 4.5);
}

INSTANTIATE_TEST_SUITE_P(Palettes, Win32Themes,
                         ::testing::Values(kDark, kHighContrastBlack, kHighContrastWhite),
                         [](const auto& info) { return std::string(info.param.name); });

// On the light palette the windows were designed on, the calculation window looks
// exactly as it did before it followed themes at all (but for the result box's left
// edge, which the label beside it used to cover).
TEST_F(Win32Windows, LightPaletteLooksAsDesigned) {
  ASSERT_EQ(dosat::win32::DesktopPalette(), dosat::contrast::Palette::Designed);
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  SetFocus(nullptr);
  const Shot shot = ShotOf(calc_);
  std::uint64_t hash = 0xcbf29ce484222325;  // FNV-1a over the pixels
  for (const DWORD pixel : shot.pixels) hash = (hash ^ (pixel & 0xFFFFFF)) * 0x100000001b3;
  EXPECT_EQ(hash, 0x784dc3e303eb2023u) << std::hex << hash;
}

// Turning high contrast on while the program runs recolours both windows, the
// hidden one too, and keeps what was typed; turning it off brings the design back.
TEST_F(Win32Windows, ThemeChangeRecoloursBothWindowsAndKeepsTheBoxes) {
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  Press(Calc("Command3"));
  Press(TableControl("Command1"));  // the table window loaded, and hidden
  SetFocus(nullptr);
  EXPECT_EQ(InkIn(ShotOf(calc_), Inside(Calc("Label5"), 0)).text, 0x008000u);

  const SysColours before = ColoursNow(kHighContrastBlack.colours);
  dosat::win32::ReportHighContrast(true);
  SetColours(kHighContrastBlack.colours);
  const Ink label = InkIn(ShotOf(calc_), Inside(Calc("Label5"), 0));
  EXPECT_EQ(label.background, 0x000000u);
  EXPECT_EQ(label.text, 0xFFFFFFu);
  EXPECT_EQ(TextOf(Calc("Text1")), L"20");
  EXPECT_EQ(TextOf(Calc("Text3")), L"7.01");
  Press(Calc("Command3"));
  EXPECT_EQ(InkIn(ShotOf(Table()), Inside(TableControl("Picture1"), 2)).background, 0x000000u);
  Press(TableControl("Command1"));

  dosat::win32::ReportHighContrast(std::nullopt);
  SetColours(before);
  SetFocus(nullptr);
  EXPECT_EQ(InkIn(ShotOf(calc_), Inside(Calc("Label5"), 0)).text, 0x008000u);
  EXPECT_EQ(TextOf(Calc("Text2")), L"21000");
}

}  // namespace
}  // namespace window_tests
