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
    std::wstring command = L"\"" + Beside(L"dosat.exe") + L"\"";
    STARTUPINFOW startup{sizeof startup};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process_))
        << "cannot start " << std::string(command.begin(), command.end());
    WaitForInputIdle(process_.hProcess, 20000);
    calc_ = WaitForWindow(L"ZEPALT", 20);
    ASSERT_NE(calc_, nullptr) << "no calculation window";
  }
  void TearDown() override {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  /// The exit status once the program has ended, or -1 if it is still running after 10 s.
  int ExitStatus() {
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) return -1;
    DWORD status = 0;
    GetExitCodeProcess(process_.hProcess, &status);
    return static_cast<int>(status);
  }

  PROCESS_INFORMATION process_{};
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
