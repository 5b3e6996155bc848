// The program and Windows: the processor check, the system DLLs loaded late, the end of
// the program.
#include "window_fixture.h"

namespace window_tests {
namespace {

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

}  // namespace
}  // namespace window_tests
