// dosat.exe itself, started as a user starts it and driven from another
// process through its windows' messages. It lies beside this test program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "design.h"
#include "driving.h"

namespace {

using dosat::testing::TextOf;
using dosat::testing::WaitForWindow;

HWND Control(HWND top, std::string_view name) {
  return dosat::testing::ControlOf(top, dosat::design::kCalculationWindow, name);
}

std::wstring Beside(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

class DosatExe : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dosat_.Started()) << "cannot start dosat.exe";
    calc_ = WaitForWindow(L"ZEPALT", 20);
    ASSERT_NE(calc_, nullptr) << "no calculation window";
  }

  /// The exit status once the program has ended, or -1 if it is still running after 10 s.
  int ExitStatus() const { return dosat_.ExitStatus(10000); }

  dosat::testing::Process dosat_{L"\"" + Beside(L"dosat.exe") + L"\""};
  HWND calc_ = nullptr;
};

TEST_F(DosatExe, CalculatesGoesToTheTableAndEndsWhenTheTableIsClosed) {
  EXPECT_EQ(TextOf(calc_), std::wstring(7, L'\u3000') + L"溶存酸素濃度(JISK0102)");
  SendMessageW(Control(calc_, "Text1"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"20"));
  SendMessageW(Control(calc_, "Text2"), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"21000"));
  SendMessageW(Control(calc_, "Command1"), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf(Control(calc_, "Text3")), L"7.01");

  SendMessageW(Control(calc_, "Command3"), BM_CLICK, 0, 0);
  HWND table = WaitForWindow(L"DOData", 10);
  ASSERT_NE(table, nullptr);
  EXPECT_FALSE(IsWindowVisible(calc_));
  PostMessageW(table, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitStatus(), 0);
}

TEST_F(DosatExe, EndsWithStatusZeroWhenTheCalculationWindowIsClosed) {
  PostMessageW(calc_, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitStatus(), 0);
}

}  // namespace
