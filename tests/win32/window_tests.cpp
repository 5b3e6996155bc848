// The two windows on Win32, driven in-process through their window handles, as
// the dialog manager and a user's clicks and keys reach them. Runs under wine. Here: each
// window as designed, and on a scaled screen; the files beside it hold one concern each.
#include "window_fixture.h"

namespace window_tests {
namespace {

// DOSAT_DPI_SUPPORT=per-monitor or =system runs every test as on Windows 8.1 or 7 to
// XP: the resolver is told that the newer DPI functions are missing.
// DOSAT_UI_AUTOMATION=none, as on Windows XP: UI Automation is missing too.
class OlderWindows : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* asked = std::getenv("DOSAT_DPI_SUPPORT");
    const std::string support = asked ? asked : "";
    if (support == "per-monitor") dosat::win32::LimitDpiSupport(dosat::win32::DpiSupport::PerMonitor);
    if (support == "system") dosat::win32::LimitDpiSupport(dosat::win32::DpiSupport::System);
    ASSERT_TRUE(support.empty() || support == "per-monitor" || support == "system") << support;
    const auto now = dosat::win32::CurrentDpiSupport();
    EXPECT_EQ(now == dosat::win32::DpiSupport::PerMonitor, support == "per-monitor");
    EXPECT_EQ(now == dosat::win32::DpiSupport::System, support == "system");
    const char* automation = std::getenv("DOSAT_UI_AUTOMATION");
    if (automation && automation == std::string("none")) dosat::win32::ForgoUiAutomation();
  }
};
::testing::Environment* const kOlderWindows = ::testing::AddGlobalTestEnvironment(new OlderWindows);


TEST_F(Win32Windows, CalculationWindowCaptionSizeAndPlace) {
  EXPECT_EQ(TextOf(calc_), std::wstring(7, L'\u3000') + L"溶存酸素濃度(JISK0102)");
  const SIZE client = ClientSize(calc_);
  EXPECT_EQ(client.cx, 311);
  EXPECT_EQ(client.cy, 317);
  EXPECT_TRUE(IsWindowVisible(calc_));
  EXPECT_EQ(Table(), nullptr) << "the table window is made on the first press of the table button";
  ExpectCentred(calc_);
}

TEST_F(Win32Windows, EveryControlAsDesigned) {
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Row& row : kCalcRows) {
    SCOPED_TRACE(row.name);
    HWND control = Calc(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(ClassOf(control), row.cls);
    EXPECT_EQ(TextOf(control), row.text);
    const RECT r = ClientRectIn(control);
    EXPECT_EQ(r.left, row.rect.left);
    EXPECT_EQ(r.top, row.rect.top);
    EXPECT_EQ(r.right, row.rect.right);
    EXPECT_EQ(r.bottom, row.rect.bottom);

    // The font asked for, and a face that has every glyph of the text.
    auto* font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW asked{};
    ASSERT_TRUE(GetObjectW(font, sizeof asked, &asked));
    EXPECT_EQ(std::wstring(asked.lfFaceName), row.gothic ? L"ＭＳ Ｐゴシック" : L"MS UI Gothic");
    EXPECT_EQ(asked.lfHeight, row.gothic ? -16 : -12);
    EXPECT_EQ(asked.lfWeight, FW_NORMAL);
    EXPECT_EQ(asked.lfCharSet, SHIFTJIS_CHARSET);
    SelectObject(dc, font);
    const std::wstring glyphs = std::wstring(row.text) + L"℃0A";
    std::vector<WORD> indices(glyphs.size());
    GetGlyphIndicesW(dc, glyphs.c_str(), static_cast<int>(glyphs.size()), indices.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      EXPECT_NE(indices[i], 0xFFFF) << "no glyph for U+" << std::hex << int(glyphs[i]);
    }

    // A label's text fits on its lines: nothing is cut off.
    if (row.cls == std::wstring(L"Static")) {
      RECT needed{0, 0, r.right - r.left, 0};
      DrawTextW(dc, row.text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      EXPECT_LE(needed.bottom, r.bottom - r.top);
    }

    // The one colour a control sets is its text colour.
    const UINT ask = row.cls == std::wstring(L"Edit") ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(calc_, ask, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const COLORREF expected = row.colour == kSystemColour ? GetSysColor(COLOR_WINDOWTEXT) : row.colour;
    if (row.cls != std::wstring(L"Button")) EXPECT_EQ(GetTextColor(dc), expected);
  }
  DeleteDC(dc);
}

// A label that reaches into a box lies under it: Label4 would hide the result box's
// left edge.
TEST_F(Win32Windows, BoxesAndButtonsLieAboveTheLabels) {
  for (const Row& row : kCalcRows) {
    if (row.cls == std::wstring(L"Static")) continue;
    POINT edge{row.rect.left, (row.rect.top + row.rect.bottom) / 2};
    EXPECT_EQ(ChildWindowFromPointEx(calc_, edge, CWP_SKIPINVISIBLE), Calc(row.name)) << row.name;
  }
}

TEST_F(Win32Windows, TableWindowAsDesigned) {
  Press(Calc("Command3"));
  HWND table = Table();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(TextOf(table), std::wstring(42, L' ') + L"DO(JIS K0102)");
  const SIZE client = ClientSize(table);
  EXPECT_EQ(client.cx, 495);
  EXPECT_EQ(client.cy, 699);

  HWND picture = TableControl("Picture1");
  HWND back = TableControl("Command1");
  EXPECT_EQ(TextOf(back), L"戻る");
  const RECT p = ClientRectIn(picture), b = ClientRectIn(back);
  EXPECT_EQ(p.left, 13);
  EXPECT_EQ(p.top, 23);
  EXPECT_EQ(p.right - p.left, 469);
  EXPECT_EQ(p.bottom - p.top, 633);
  EXPECT_EQ(b.left, 406);
  EXPECT_EQ(b.top, 664);
  EXPECT_EQ(b.right - b.left, 69);
  EXPECT_EQ(b.bottom - b.top, 25);
  // A sunken edge two pixels wide round the picture's interior.
  EXPECT_EQ(GetWindowLongW(picture, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
  const SIZE inside = ClientSize(picture);
  EXPECT_EQ(inside.cx, 465);
  EXPECT_EQ(inside.cy, 629);
  EXPECT_EQ(GetNextDlgTabItem(table, picture, FALSE), back);
  EXPECT_EQ(GetNextDlgTabItem(table, back, FALSE), picture);
}

// The picture as drawn on the screen: the bitmap's top 629 rows, unscaled,
// from the interior's top-left corner; the note below the table cut off.
TEST_F(Win32Windows, PictureShowsUnscaledFromTheTopLeftAndIsCutOff) {
  Press(Calc("Command3"));
  HWND picture = TableControl("Picture1");
  SetForegroundWindow(Table());
  RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();

  // The committed picture itself, 24 bits a pixel: what dosat.exe carries is encoded.
  std::FILE* file = std::fopen(DOSAT_TABLE_BMP, "rb");
  ASSERT_NE(file, nullptr) << DOSAT_TABLE_BMP;
  std::vector<BYTE> bmp(903462);
  const std::size_t read = std::fread(bmp.data(), 1, bmp.size(), file);
  std::fclose(file);
  ASSERT_EQ(read, bmp.size());
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bmp.data() + 14);
  ASSERT_EQ(header->biWidth, 464);
  ASSERT_EQ(header->biHeight, 649);
  const BYTE* bits = bmp.data() + *reinterpret_cast<const DWORD*>(bmp.data() + 10);
  const auto expected = [&](int x, int y) {
    const BYTE* p = bits + (648 - y) * 1392 + x * 3;
    return RGB(p[2], p[1], p[0]);
  };

  HDC dc = GetDC(picture);
  HDC memory = CreateCompatibleDC(dc);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 465, -629, 1, 32, BI_RGB}};
  void* shownBits = nullptr;
  HBITMAP shot = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &shownBits, nullptr, 0);
  SelectObject(memory, shot);
  BitBlt(memory, 0, 0, 465, 629, dc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* shown = static_cast<const DWORD*>(shownBits);
  int differing = 0;
  for (int y = 0; y < 629; ++y) {
    for (int x = 0; x < 465; ++x) {
      const DWORD s = shown[y * 465 + x];
      const COLORREF want = x < 464 ? expected(x, y) : RGB(255, 255, 255);
      if (RGB((s >> 16) & 0xFF, (s >> 8) & 0xFF, s & 0xFF) != want) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
  DeleteObject(shot);
  DeleteDC(memory);
  ReleaseDC(picture, dc);
}

// ---- On a scaled screen (run under tools/wine-as.sh --dpi) ----

class Scaled : public Win32Windows {
 protected:
  void SetUp() override {
    dpi_ = dosat::win32::SystemDpi();
    if (dpi_ == 96) GTEST_SKIP() << "the screen is not scaled";
    Win32Windows::SetUp();
  }
  int Px(int twips) const { return static_cast<int>(std::lround(twips * dpi_ / 1440.0)); }
  /// Twips to pixels in a window laid out at `scale` on this screen.
  int Px(int twips, float scale) const {
    const double pixels = twips / (1440 / (dpi_ * static_cast<double>(scale)));
    return static_cast<int>(pixels + 0.5);
  }
  UINT dpi_ = 96;
};

TEST_F(Scaled, WindowsAndFontsGrowWithTheScreen) {
  SIZE client = ClientSize(calc_);
  EXPECT_EQ(client.cx, Px(4665));
  EXPECT_EQ(client.cy, Px(4755));
  const RECT text1 = ClientRectIn(Calc("Text1"));
  EXPECT_EQ(text1.left, Px(3120));
  EXPECT_EQ(text1.top, Px(1080));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Calc("Text1"), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(12, static_cast<int>(dpi_), 72));
  ExpectCentred(calc_);

  // On a screen of 1024 pixels the table window at 150 % or 200 % would reach past the
  // bottom: it is laid out smaller, as one piece, as much as it must be to fit.
  Press(Calc("Command3"));
  const float scale = program_->tableWindow().Scale();
  client = ClientSize(Table());
  EXPECT_EQ(client.cx, Px(7425, scale));
  EXPECT_EQ(client.cy, Px(10485, scale));
  ExpectInWorkArea(Table());
  RECT frame;
  GetWindowRect(Table(), &frame);
  if (Px(10485) + (frame.bottom - frame.top - client.cy) > GetSystemMetrics(SM_CYSCREEN)) {
    EXPECT_GE(frame.bottom - frame.top, GetSystemMetrics(SM_CYSCREEN) - 2) << "no smaller than it must be";
  } else {
    EXPECT_EQ(scale, 1.0f);
  }
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(TableControl("Command1"), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -std::lround(9 * dpi_ * static_cast<double>(scale) / 72));
  ExpectInWorkArea(TableControl("Command1"));
}

// Glyphs grow a little more than the labels: each text still fits on its one line.
TEST_F(Scaled, EveryLabelKeepsItsTextOnOneLine) {
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Row& row : kCalcRows) {
    if (row.cls != std::wstring(L"Static")) continue;
    SCOPED_TRACE(row.name);
    HWND label = Calc(row.name);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const RECT r = ClientRectIn(label);
    RECT needed{0, 0, r.right - r.left, 0};
    DrawTextW(dc, row.text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(needed.bottom, metrics.tmHeight);
  }
  DeleteDC(dc);
}

// The table is drawn anew at the screen's resolution, times the scale the window was
// fitted at: every rule is solid black and as thick as every other, not the bitmap's
// one-pixel rules blurred or doubled by turns.
TEST_F(Scaled, TableRulesAreSharpAndEven) {
  Press(Calc("Command3"));
  HWND picture = TableControl("Picture1");
  const SIZE inside = ClientSize(picture);
  const double ratio =
      dosat::win32::TableRatio(dpi_ / 96.0 * static_cast<double>(program_->tableWindow().Scale()), inside);
  // Drawn as for printing, so that a part off the screen counts too.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, inside.cx, inside.cy);
  ReleaseDC(nullptr, screen);
  SelectObject(dc, canvas);
  SendMessageW(picture, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  // Down a column of the temperature cells, clear of their figures: only rules are dark.
  const int x = dosat::table::ScalePosition(6, ratio);
  std::vector<int> thickness;
  int run = 0, grey = 0;
  for (int y = dosat::table::ScalePosition(92, ratio); y < inside.cy; ++y) {  // from the 0 °C row
    const int level = GetRValue(GetPixel(dc, x, y));
    if (level < 128) {
      ++run;
      if (level != 0) ++grey;
    } else if (run) {
      thickness.push_back(run);
      run = 0;
    }
  }
  DeleteDC(dc);
  DeleteObject(canvas);
  ASSERT_EQ(thickness.size(), 36u) << "the rules under each temperature, 0 to 35 °C";
  const int expected = dosat::table::ScaleThickness(1, ratio);
  for (std::size_t i = 0; i < thickness.size(); ++i) EXPECT_EQ(thickness[i], expected) << "rule " << i;
  EXPECT_EQ(grey, 0) << "grey pixels in the rules";
}

}  // namespace
}  // namespace window_tests
