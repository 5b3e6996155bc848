// The two windows on Win32, driven in-process through their window handles, as
// the dialog manager and a user's clicks and keys reach them. Runs under wine.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>
#include <uiautomationcore.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <cstdlib>
#include <string>
#include <vector>

#include "design.h"
#include "dodata.h"
#include "driving.h"
#include "contrast.h"
#include "newerwindows.h"
#include "processor.h"
#include "program.h"
#include "tablelayout.h"
#include "tablepicture.h"
#include "text.h"
#include "theme.h"
#include "win32platform.h"
#include "zepalt.h"

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

using dosat::design::kCalculationWindow;
using dosat::design::kTableWindow;

using dosat::testing::Pump;

using dosat::win32::TextOf;

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::string ClassOfName(HWND hwnd) { return dosat::win32::Utf8(ClassOf(hwnd)); }

RECT ClientRectIn(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

// Twice the offset from the screen's corner is the room left over, give or
// take the half pixel that centring in twips leaves.
void ExpectCentred(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(2 * r.left - (screenWidth - (r.right - r.left))), 1) << "left " << r.left;
  EXPECT_LE(std::abs(2 * r.top - (screenHeight - (r.bottom - r.top))), 1) << "top " << r.top;
}

// The window, or a control, lies wholly in the work area of the primary monitor: clear
// of taskbars, its title bar on the screen.
void ExpectInWorkArea(HWND hwnd) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
      << ClassOfName(hwnd) << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom << " in "
      << work.left << "," << work.top << "-" << work.right << "," << work.bottom;
}

// A window's client-area pixels, 0x00RRGGBB row by row: as the screen shows them, or as
// the window draws itself for printing (PrintWindow).
std::vector<DWORD> ClientPixels(HWND hwnd, bool printed) {
  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB}};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (printed) {
    PrintWindow(hwnd, memory, PW_CLIENTONLY);
  } else {
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
  }
  GdiFlush();
  const auto* first = static_cast<const DWORD*>(bits);
  std::vector<DWORD> pixels(first, first + client.right * client.bottom);
  for (DWORD& p : pixels) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// What the picture box shows on the screen is what it draws now: no bits of an earlier
// size or resolution are left standing.
void ExpectDrawnAfresh(HWND picture) {
  dosat::testing::Pump();
  UpdateWindow(GetParent(picture));
  const std::vector<DWORD> shown = ClientPixels(picture, false), drawn = ClientPixels(picture, true);
  ASSERT_EQ(shown.size(), drawn.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != drawn[i];
  EXPECT_EQ(differing, 0u) << "of " << shown.size() << " pixels";
}

// The message box a handler opens, read and answered from a timer that its
// modal loop runs.
struct Warning {
  std::wstring caption, text;
  int seen = 0;
};
Warning* expectedWarning = nullptr;

BOOL CALLBACK KeepMessageBox(HWND hwnd, LPARAM found) {
  if (ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

void CALLBACK AnswerWarning(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), KeepMessageBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, timer);
  expectedWarning->caption = TextOf(box);
  expectedWarning->text = TextOf(GetDlgItem(box, 0xFFFF));
  ++expectedWarning->seen;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class Win32Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::make_unique<dosat::Program>(platform_, [this](int code) {
      ends_.push_back(code);
      platform_.Quit(code);
    });
    program_->Start();
    Pump();
    calc_ = FindWindowExW(nullptr, nullptr, L"ZEPALT", nullptr);
    ASSERT_NE(calc_, nullptr);
  }
  void TearDown() override {
    program_.reset();
    Pump();
  }

  static HWND Control(HWND top, const dosat::design::Window& design, std::string_view name) {
    return dosat::testing::ControlOf(top, design, name);
  }
  HWND Calc(std::string_view name) const { return Control(calc_, kCalculationWindow, name); }
  HWND Table() const { return FindWindowExW(nullptr, nullptr, L"DOData", nullptr); }
  HWND TableControl(std::string_view name) const { return Control(Table(), kTableWindow, name); }

  static void Type(HWND box, const wchar_t* text) { SetWindowTextW(box, text); }
  static void Press(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
  }
  /// Posts keys to the focused control and lets the program's own message loop
  /// deliver them, as it does for a user's typing.
  void Keys(std::initializer_list<WPARAM> keys) {
    for (const WPARAM key : keys) {
      HWND target = GetFocus();
      PostMessageW(target, WM_KEYDOWN, key, 1);
      if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE) {
        PostMessageW(target, WM_CHAR, key == VK_SPACE ? L' ' : key, 1);
      }
      PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }
    PostQuitMessage(0);
    platform_.Run();
  }

  dosat::Win32Platform platform_;
  std::unique_ptr<dosat::Program> program_;
  std::vector<int> ends_;
  HWND calc_ = nullptr;
};

struct Row {
  const char* name;
  const wchar_t* cls;
  const wchar_t* text;
  RECT rect;  // pixels at 96 dpi, in the client area
  bool gothic;
  COLORREF colour;  // CLR_INVALID: the system's text colour
};

constexpr COLORREF kSystemColour = CLR_INVALID;

const std::array<Row, 13> kCalcRows = {{
    {"Label5", L"Static", L"適用範囲 :Temp=0～35℃", {60, 17, 269, 34}, true, RGB(0, 0x80, 0)},
    {"Label6", L"Static", L"Salt=純水～海水", {131, 41, 268, 58}, true, RGB(0, 0x80, 0)},
    {"Label1", L"Static", L"水温(℃)", {24, 78, 97, 103}, true, kSystemColour},
    {"Text1", L"Edit", L"", {208, 72, 281, 98}, true, kSystemColour},
    {"Label7", L"Static", L"( 0～35℃ )", {24, 98, 115, 115}, false, kSystemColour},
    {"Label2", L"Static", L"塩素イオン濃度(mg/L)", {24, 120, 177, 153}, true, kSystemColour},
    {"Text2", L"Edit", L"", {208, 120, 281, 146}, true, kSystemColour},
    {"Label3", L"Static", L"(海水標準=21000mg/L)", {24, 141, 153, 158}, false, kSystemColour},
    {"Command1", L"Button", L"計算", {56, 173, 129, 206}, true, kSystemColour},
    {"Command2", L"Button", L"クリヤ", {183, 172, 256, 205}, true, kSystemColour},
    {"Text3", L"Edit", L"", {208, 224, 281, 249}, true, RGB(0xFF, 0, 0xFF)},
    {"Label4", L"Static", L"飽和溶存酸素濃度(mg/L)", {24, 232, 209, 257}, true, kSystemColour},
    {"Command3", L"Button", L"JIS K0102 溶存酸素(表)", {80, 275, 232, 301}, false, kSystemColour},
}};

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

TEST_F(Win32Windows, TextBoxesHaveNoLengthLimit) {
  for (const char* name : {"Text1", "Text2", "Text3"}) {
    EXPECT_GE(SendMessageW(Calc(name), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE) << name;
  }
}

TEST_F(Win32Windows, FocusStartsInTemperatureAndTabVisitsInOrder) {
  SetForegroundWindow(calc_);
  Pump();
  EXPECT_EQ(GetFocus(), Calc("Text1"));
  for (const char* next : {"Text2", "Command1", "Command2", "Text3", "Command3", "Text1"}) {
    Keys({VK_TAB});
    EXPECT_EQ(GetFocus(), Calc(next)) << next;
  }
}

TEST_F(Win32Windows, EnterAndEscapePressNothing) {
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  for (const char* target : {"Text1", "Command1", "Command3"}) {
    SetFocus(Calc(target));
    Keys({VK_RETURN, VK_ESCAPE});
  }
  EXPECT_EQ(TextOf(Calc("Text3")), L"");
  EXPECT_EQ(TextOf(Calc("Text1")), L"20");
  EXPECT_TRUE(IsWindowVisible(calc_));
  EXPECT_EQ(Table(), nullptr);
}

std::wstring Accessible(HWND control, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&accessible)))) {
    return L"(no accessible object)";
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  (accessible->*get)(self, &text);
  std::wstring out = text ? text : L"";
  SysFreeString(text);
  accessible->Release();
  return out;
}

// A screen reader names each box by its label and reads its range hint.
TEST_F(Win32Windows, BoxesAreNamedAndDescribedForScreenReaders) {
  EXPECT_EQ(Accessible(Calc("Text1"), &IAccessible::get_accName), L"水温(℃)");
  EXPECT_EQ(Accessible(Calc("Text1"), &IAccessible::get_accDescription), L"( 0～35℃ )");
  EXPECT_EQ(Accessible(Calc("Text2"), &IAccessible::get_accName), L"塩素イオン濃度(mg/L)");
  EXPECT_EQ(Accessible(Calc("Text2"), &IAccessible::get_accDescription), L"(海水標準=21000mg/L)");
  EXPECT_EQ(Accessible(Calc("Text3"), &IAccessible::get_accName), L"飽和溶存酸素濃度(mg/L)");
  Type(Calc("Text1"), L"25");
  EXPECT_EQ(Accessible(Calc("Text1"), &IAccessible::get_accValue), L"25");
}

// A screen reader meets the table as a table: its title, and a cell per number.
TEST_F(Win32Windows, TableIsReadAsATable) {
  Press(Calc("Command3"));
  HWND picture = TableControl("Picture1");
  EXPECT_EQ(Accessible(picture, &IAccessible::get_accName), L"水中の飽和溶存酸素量");
  const std::wstring description = Accessible(picture, &IAccessible::get_accDescription);
  EXPECT_NE(description.find(L"JIS K0102"), std::wstring::npos);
  EXPECT_NE(description.find(L"20℃: 8.84 8.41 7.97 7.54 7.10 0.0087"), std::wstring::npos);

  IAccessible* table = nullptr;
  ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(picture, OBJID_CLIENT, __uuidof(IAccessible),
                                                      reinterpret_cast<void**>(&table)));
  VARIANT self{};
  self.vt = VT_I4;
  VARIANT role{};
  table->get_accRole(self, &role);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TABLE);
  LONG children = 0;
  table->get_accChildCount(&children);
  EXPECT_EQ(children, 37 * 7) << "a row of headings and 36 rows of seven cells";
  // Cells are numbered row by row from 1, the headings first.
  const auto cell = [&](int row, int column) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = row * 7 + column + 1;
    BSTR name = nullptr;
    table->get_accName(child, &name);
    std::wstring text = name ? name : L"";
    SysFreeString(name);
    return text;
  };
  EXPECT_EQ(cell(0, 0), L"温度(℃)");
  EXPECT_EQ(cell(0, 5), L"20000");
  EXPECT_EQ(cell(1, 0), L"0");
  EXPECT_EQ(cell(1, 1), L"14.15");
  EXPECT_EQ(cell(9, 1), L"11.47") << "8 °C as the table prints it";
  EXPECT_EQ(cell(22, 6), L"0.0086") << "21 °C as the table prints it";
  EXPECT_EQ(cell(36, 3), L"6.30");
  table->Release();
}

// A screen reader may keep a control's accessible object, and the UI Automation
// provider made over it, after the window is gone: they then say so, and reach nothing
// of the window.
TEST_F(Win32Windows, AccessibleObjectsOfAClosedWindowSayItIsGone) {
  Press(Calc("Command3"));
  const auto objectOf = [](HWND control) {
    IAccessible* accessible = nullptr;
    EXPECT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                        reinterpret_cast<void**>(&accessible)));
    return accessible;
  };
  IAccessible* box = objectOf(Calc("Text1"));
  IAccessible* table = objectOf(TableControl("Picture1"));
  ASSERT_TRUE(box && table);
  // UI Automation's provider over an MSAA object, where this Windows (or wine) has one.
  // (uiautomationcoreapi.h, which declares it, does not compile as C++ in MinGW-w64.)
  constexpr PROPERTYID kIsKeyboardFocusable = 30009;  // read afresh from the object's state
  constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);  // UIA_E_ELEMENTNOTAVAILABLE
  using FromAccessible = HRESULT(WINAPI*)(IAccessible*, long, DWORD, IRawElementProviderSimple**);
  const auto fromAccessible = reinterpret_cast<FromAccessible>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"uiautomationcore.dll"), "UiaProviderFromIAccessible")));
  IRawElementProviderSimple* provider = nullptr;
  if (fromAccessible) fromAccessible(box, CHILDID_SELF, 0, &provider);
  VARIANT focusable{};
  if (provider) {
    ASSERT_HRESULT_SUCCEEDED(provider->GetPropertyValue(kIsKeyboardFocusable, &focusable));
    ASSERT_EQ(focusable.vt, VT_BOOL);
    EXPECT_EQ(focusable.boolVal, VARIANT_TRUE);
  }

  SendMessageW(Table(), WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(calc_));
  program_.reset();  // the Program and its windows' memory too

  VARIANT self{};
  self.vt = VT_I4;
  VARIANT cell = self;
  cell.lVal = 8;  // the 0 °C row's temperature
  wchar_t stale[] = L"stale";
  BSTR name = stale;
  EXPECT_EQ(box->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(box->get_accValue(self, &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(table->get_accName(cell, &name), CO_E_OBJNOTCONNECTED);
  LONG count = 1;
  EXPECT_EQ(table->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(count, 0);
  VARIANT next{};
  EXPECT_EQ(table->accNavigate(NAVDIR_DOWN, cell, &next), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(next.vt, VT_EMPTY);
  EXPECT_EQ(table->accDoDefaultAction(self), CO_E_OBJNOTCONNECTED);
  if (provider) {
    // The provider's answer is UI Automation's own: the element is not available, the
    // object's own answer passed on (wine 10), or (wine 8) the property's default, as for
    // any request its object failed.
    const HRESULT answer = provider->GetPropertyValue(kIsKeyboardFocusable, &focusable);
    if (answer != kElementNotAvailable && answer != CO_E_OBJNOTCONNECTED) {
      EXPECT_HRESULT_SUCCEEDED(answer);
      EXPECT_TRUE(focusable.vt == VT_EMPTY || (focusable.vt == VT_BOOL && focusable.boolVal == VARIANT_FALSE));
    }
    provider->Release();
  } else {
    std::printf("no UI Automation provider over MSAA here: MSAA checked alone\n");
  }
  box->Release();
  table->Release();
}

std::vector<HWND> valueChanges;
void CALLBACK RecordValueChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
  if (object == OBJID_CLIENT) valueChanges.push_back(hwnd);
}

// The new result is announced while the focus stays on the button.
TEST_F(Win32Windows, ResultIsAnnouncedWithoutMovingFocus) {
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Pump();
  valueChanges.clear();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                       RecordValueChange, GetCurrentProcessId(), 0,
                                       WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  SetFocus(Calc("Command1"));
  Press(Calc("Command1"));
  Pump();
  UnhookWinEvent(hook);
  EXPECT_NE(std::find(valueChanges.begin(), valueChanges.end(), Calc("Text3")), valueChanges.end());
  EXPECT_EQ(GetFocus(), Calc("Command1"));
}

struct Calculation {
  const wchar_t* temperature;
  const wchar_t* chloride;
  const wchar_t* shown;
};

class Win32Calculate : public Win32Windows, public ::testing::WithParamInterface<Calculation> {};

TEST_P(Win32Calculate, PressingCalculateShowsTheResult) {
  const Calculation& c = GetParam();
  Type(Calc("Text1"), c.temperature);
  Type(Calc("Text2"), c.chloride);
  Press(Calc("Command1"));
  EXPECT_EQ(TextOf(Calc("Text3")), c.shown);
  EXPECT_EQ(TextOf(Calc("Text1")), c.temperature);
}

// The environment pins a "." decimal separator for these rows.
INSTANTIATE_TEST_SUITE_P(Rows, Win32Calculate,
                         ::testing::Values(Calculation{L"20", L"21000", L"7.01"},
                                           Calculation{L"0", L"0", L"14.15"},
                                           Calculation{L"35", L"100000", L"-.37"},
                                           Calculation{L"35", L"95000", L".00"},
                                           Calculation{L"100", L"0", L"-12.49"},
                                           Calculation{L"２０", L"２１０００", L"7.01"}));

// The user's own number settings, read when Calculate is pressed: here a comma
// for decimals and a point for groups, as in Germany, set as the Region settings
// set them.
class Win32DecimalComma : public Win32Windows {
 protected:
  void SetUp() override {
    decimal_ = get(LOCALE_SDECIMAL);
    thousand_ = get(LOCALE_STHOUSAND);
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","));
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, L"."));
    Win32Windows::SetUp();
  }
  void TearDown() override {
    Win32Windows::TearDown();
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal_.c_str());
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand_.c_str());
  }

 private:
  static std::wstring get(LCTYPE type) {
    wchar_t text[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 16);
    return text;
  }

  std::wstring decimal_, thousand_;
};

TEST_F(Win32DecimalComma, ReadsAndWritesTheUsersSeparators) {
  const dosat::NumberLocale locale = platform_.UserNumberLocale();
  ASSERT_EQ(locale.decimal, U',') << "the user's decimal separator is not read";
  EXPECT_EQ(locale.group, U'.');
  Type(Calc("Text1"), L"20,5");
  Type(Calc("Text2"), L"0");
  Press(Calc("Command1"));
  EXPECT_EQ(TextOf(Calc("Text3")), L"8,76");
  // "21,000" is 21 here; "21.000" is twenty-one thousand.
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21.000");
  Press(Calc("Command1"));
  EXPECT_EQ(TextOf(Calc("Text3")), L"7,01");

  Warning warning;
  expectedWarning = &warning;
  Type(Calc("Text1"), L"20.5");
  SetTimer(nullptr, 0, 20, AnswerWarning);
  Press(Calc("Command1"));
  expectedWarning = nullptr;
  EXPECT_EQ(warning.text, L"水温を数値で入力してください。\n小数点は「,」です（例: 20,5）。");
  EXPECT_EQ(TextOf(Calc("Text1")), L"20.5");
}

TEST_F(Win32Windows, EmptyInputKeepsTheEarlierResultAndTypingDoesNotRecalculate) {
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  for (const auto& [t, c] : {std::pair{L"25", L""}, std::pair{L"", L"5000"}, std::pair{L"abc", L""}}) {
    Type(Calc("Text1"), t);
    Type(Calc("Text2"), c);
    Press(Calc("Command1"));
    EXPECT_EQ(TextOf(Calc("Text3")), L"7.01");
    EXPECT_EQ(TextOf(Calc("Text1")), t);
  }
  Type(Calc("Text1"), L"30");
  Type(Calc("Text2"), L"0");
  EXPECT_EQ(TextOf(Calc("Text3")), L"7.01");
  Type(Calc("Text3"), L"typed");
  Press(Calc("Command1"));
  EXPECT_EQ(TextOf(Calc("Text3")), L"7.53");
}

TEST_F(Win32Windows, ClearEmptiesAllBoxesAndKeepsTheFocus) {
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  SetFocus(Calc("Command2"));
  Keys({VK_SPACE});
  for (const char* box : {"Text1", "Text2", "Text3"}) EXPECT_EQ(TextOf(Calc(box)), L"") << box;
  EXPECT_EQ(GetFocus(), Calc("Command2"));
  EXPECT_EQ(program_->calculationWindow().fields().saturatedDo, 7.010275300427201);
}

struct BadInput {
  const wchar_t* temperature;
  const wchar_t* chloride;
  const wchar_t* message;
  const char* box;
};

class Win32BadInput : public Win32Windows, public ::testing::WithParamInterface<BadInput> {};

TEST_P(Win32BadInput, WarnsNamesTheBoxAndKeepsEverything) {
  const BadInput& bad = GetParam();
  SetForegroundWindow(calc_);
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"0");
  Press(Calc("Command1"));
  Type(Calc("Text1"), bad.temperature);
  Type(Calc("Text2"), bad.chloride);

  Warning warning;
  expectedWarning = &warning;
  SetTimer(nullptr, 0, 20, AnswerWarning);
  Press(Calc("Command1"));
  expectedWarning = nullptr;

  EXPECT_EQ(warning.seen, 1);
  EXPECT_EQ(warning.caption, L"溶存酸素濃度");
  EXPECT_EQ(warning.text, bad.message);
  EXPECT_EQ(TextOf(Calc("Text1")), bad.temperature);
  EXPECT_EQ(TextOf(Calc("Text2")), bad.chloride);
  EXPECT_EQ(TextOf(Calc("Text3")), L"8.84");
  HWND box = Calc(bad.box);
  EXPECT_EQ(GetFocus(), box);
  DWORD start = 1, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(box)));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Win32BadInput,
    ::testing::Values(
        BadInput{L"abc", L"0", L"水温を数値で入力してください。\n小数点は「.」です（例: 20.5）。", "Text1"},
        BadInput{L"   ", L"0", L"水温を数値で入力してください。\n小数点は「.」です（例: 20.5）。", "Text1"},
        BadInput{L"20", L"海水", L"塩素イオン濃度を数値で入力してください。\n小数点は「.」です（例: 20.5）。",
                 "Text2"},
        BadInput{L"1e103", L"0", L"水温の値が大きすぎて計算できません。", "Text1"},
        BadInput{L"1e100", L"1e300", L"塩素イオン濃度の値が大きすぎて計算できません。", "Text2"}));

// The processor as the 32-bit exe's entry point asks for it, here said to lack SSE2
// (a Pentium III, an Athlon XP): a message in plain Japanese, and no start.
BOOL WINAPI WithoutSse2(DWORD feature) { return feature != PF_XMMI64_INSTRUCTIONS_AVAILABLE; }

TEST(Processor, WithoutSse2TheProgramSaysSoAndDoesNotStart) {
  Warning message;
  expectedWarning = &message;
  SetTimer(nullptr, 0, 20, AnswerWarning);
  EXPECT_FALSE(dosat::win32::ProcessorRunsProgram(WithoutSse2));
  EXPECT_EQ(message.seen, 1);
  EXPECT_EQ(message.caption, L"dosat");
  EXPECT_EQ(message.text,
            L"このパソコンでは dosat を使えません。\n\n"
            L"dosat を使うには、SSE2 に対応した CPU（Pentium 4 や Athlon 64 以降の CPU）が"
            L"必要です。このパソコンの CPU は SSE2 に対応していません。");

  // The processor this runs on has SSE2: the program starts, and nothing is shown.
  message = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerWarning);
  EXPECT_TRUE(dosat::win32::ProcessorRunsProgram());
  KillTimer(nullptr, timer);
  expectedWarning = nullptr;
  EXPECT_EQ(message.seen, 0);
}

// A DLL the program loads late comes from the system folder both ways: by the loader's
// search of that folder alone, and by the full path where the loader may not know it.
TEST(SystemLibraries, ComeFromTheSystemFolderEitherWay) {
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  ASSERT_GT(length, 0u);
  for (const bool searchFlag : {true, false}) {
    HMODULE module = dosat::win32::LoadSystemLibrary(L"shcore.dll", searchFlag);
    ASSERT_NE(module, nullptr) << "search flag " << searchFlag;
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(module, path, MAX_PATH);
    EXPECT_EQ(_wcsnicmp(path, system, length), 0) << "search flag " << searchFlag;
    FreeLibrary(module);
    EXPECT_EQ(dosat::win32::LoadSystemLibrary(L"no-such-library.dll", searchFlag), nullptr);
  }
}

TEST_F(Win32Windows, TableAndBackKeepTextsAndPositions) {
  Type(Calc("Text1"), L"20");
  Type(Calc("Text2"), L"21000");
  Press(Calc("Command1"));
  SetWindowPos(calc_, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT calcAt;
  GetWindowRect(calc_, &calcAt);

  Press(Calc("Command3"));
  HWND table = Table();
  ASSERT_NE(table, nullptr);
  EXPECT_FALSE(IsWindowVisible(calc_));
  EXPECT_TRUE(IsWindowVisible(table));
  ExpectCentred(table);
  SetWindowPos(table, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

  Press(TableControl("Command1"));
  EXPECT_FALSE(IsWindowVisible(table));
  EXPECT_TRUE(IsWindowVisible(calc_));
  RECT now;
  GetWindowRect(calc_, &now);
  EXPECT_EQ(now.left, calcAt.left);
  EXPECT_EQ(now.top, calcAt.top);
  EXPECT_EQ(TextOf(Calc("Text1")), L"20");
  EXPECT_EQ(TextOf(Calc("Text2")), L"21000");
  EXPECT_EQ(TextOf(Calc("Text3")), L"7.01");

  // The table window is not made again: the same window, where it was.
  Press(Calc("Command3"));
  EXPECT_EQ(Table(), table);
  GetWindowRect(table, &now);
  EXPECT_EQ(now.left, 10);
  EXPECT_EQ(now.top, 20);
  EXPECT_TRUE(ends_.empty());
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

struct Closing {
  const char* name;
  bool closeTable;
};

class Win32Closing : public Win32Windows, public ::testing::WithParamInterface<Closing> {};

// Whichever window the user closes, both go, and the program ends once, with status 0.
TEST_P(Win32Closing, EndsTheProgramOnce) {
  Press(Calc("Command3"));
  if (!GetParam().closeTable) Press(TableControl("Command1"));
  HWND table = Table();
  SendMessageW(GetParam().closeTable ? table : calc_, WM_CLOSE, 0, 0);
  EXPECT_EQ(ends_, std::vector<int>{0});
  EXPECT_FALSE(IsWindow(calc_));
  EXPECT_FALSE(IsWindow(table));
  EXPECT_EQ(platform_.Run(), 0) << "the message loop ends with the program's status";

  // After the end no handler runs: nothing comes back.
  program_->Start();
  EXPECT_EQ(FindWindowExW(nullptr, nullptr, L"ZEPALT", nullptr), nullptr);
  EXPECT_EQ(ends_.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Rows, Win32Closing,
                         ::testing::Values(Closing{"calculation", false}, Closing{"table", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32Windows, ClosingBeforeTheTableWasEverShown) {
  SendMessageW(calc_, WM_CLOSE, 0, 0);
  EXPECT_EQ(ends_, std::vector<int>{0});
  EXPECT_FALSE(IsWindow(calc_));
  EXPECT_EQ(Table(), nullptr);
  EXPECT_FALSE(program_->tableWindow().IsLoaded());
}

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
  const int x = dosat::table::scalePosition(6, ratio);
  std::vector<int> thickness;
  int run = 0, grey = 0;
  for (int y = dosat::table::scalePosition(92, ratio); y < inside.cy; ++y) {  // from the 0 °C row
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
  const int expected = dosat::table::scaleThickness(1, ratio);
  for (std::size_t i = 0; i < thickness.size(); ++i) EXPECT_EQ(thickness[i], expected) << "rule " << i;
  EXPECT_EQ(grey, 0) << "grey pixels in the rules";
}
