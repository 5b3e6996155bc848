// GetThreadId for the 32-bit exe, which starts on Windows XP: XP's kernel32 has no
// GetThreadId (Vista added it). GCC 14's libgcc puts it in the import table through
// its thread helpers (__gthr_win32_equal, linked in with the exception allocator's
// lock), although the program never compares threads. A static import Windows XP lacks
// stops the exe from loading at all, so this file fills the import's slot itself, before
// the linker would take it from kernel32: the function is looked up when called, and
// asked of ntdll where kernel32 has none. With a libgcc that does not call it, nothing
// refers to it and it stays unused.
#include <windows.h>

namespace {

// ntdll's THREAD_BASIC_INFORMATION, class 0 of NtQueryInformationThread, as on XP.
struct ThreadBasicInformation {
  LONG exitStatus;
  void* tebBaseAddress;
  HANDLE uniqueProcess;
  HANDLE uniqueThread;
  ULONG_PTR affinityMask;
  LONG priority;
  LONG basePriority;
};

DWORD WINAPI ThreadIdOf(HANDLE thread) {
  using GetThreadIdFunction = DWORD(WINAPI*)(HANDLE);
  using QueryFunction = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  if (auto kernel = reinterpret_cast<GetThreadIdFunction>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadId"))))
    return kernel(thread);
  auto query = reinterpret_cast<QueryFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  ThreadBasicInformation information{};
  if (!query || query(thread, 0, &information, sizeof information, nullptr) < 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(information.uniqueThread));
}

}  // namespace

// The import's slot, under the name kernel32's import library gives it.
extern "C" {
extern DWORD(WINAPI* const dosatGetThreadIdSlot)(HANDLE) __asm__("__imp__GetThreadId@4");
DWORD(WINAPI* const dosatGetThreadIdSlot)(HANDLE) = ThreadIdOf;
}
