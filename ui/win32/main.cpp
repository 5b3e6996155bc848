#include <windows.h>

#include "program.h"
#include "win32platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  dosat::Win32Platform platform;
  dosat::Program program(platform);
  program.Start();
  return platform.Run();
}
