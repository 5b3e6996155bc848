// What a screen reader is told and hears, through MSAA and UI Automation.
#include "window_fixture.h"

namespace window_tests {
namespace {

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

  // Each cell where it is drawn, inside the picture: the first row under the headings,
  // 14.15 beside 0, the last row at the foot.
  const auto at = [&](int row, int column) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = row == -1 ? CHILDID_SELF : row * 7 + column + 1;
    RECT r{};
    LONG width = 0, height = 0;
    table->accLocation(&r.left, &r.top, &width, &height, child);
    r.right = r.left + width;
    r.bottom = r.top + height;
    return r;
  };
  const RECT box = at(-1, 0), heading = at(0, 0), zero = at(1, 0), value = at(1, 1), last = at(36, 0);
  EXPECT_GT(zero.top, heading.top);
  EXPECT_EQ(value.top, zero.top);
  EXPECT_GT(value.left, zero.left);
  EXPECT_GT(last.top, zero.top + 30 * (zero.bottom - zero.top));
  for (const RECT& r : {heading, zero, value, last}) {
    EXPECT_GT(r.right, r.left);
    EXPECT_GE(r.left, box.left);
    EXPECT_LE(r.bottom, box.bottom);
  }
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

}  // namespace
}  // namespace window_tests
