// The 32-bit dosat.exe's entry point, ahead of MinGW's: the processor is asked for
// SSE2 before any code built for it runs, the C++ static initialisers included,
// which MinGW's start-up runs. Compiled without SSE, as processor.cpp is.
#include "processor.h"

extern "C" int WinMainCRTStartup();

extern "C" int DosatStart() {
  if (!dosat::win32::ProcessorRunsProgram()) ExitProcess(1);
  return WinMainCRTStartup();
}
