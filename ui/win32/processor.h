#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The 32-bit dosat.exe computes in SSE2 doubles (CMakeLists.txt), which the
// Pentium III and Athlon XP of some Windows XP PCs lack. This is asked first,
// from the exe's entry point (start.cpp): compiled without SSE, it runs before
// the C runtime and the static initialisers, and uses nothing they set up.
namespace dosat::win32 {

/// The message box's caption and text where the processor lacks SSE2.
extern const wchar_t kNoSse2Caption[];
extern const wchar_t kNoSse2Text[];

/// Whether Windows reports processor feature `feature`: IsProcessorFeaturePresent,
/// or a stand-in that a test sets.
using FeatureQuery = BOOL(WINAPI*)(DWORD feature);

/// True where the processor has SSE2; else says so in a message box and, once the
/// user has closed it, returns false.
bool ProcessorRunsProgram(FeatureQuery featurePresent = IsProcessorFeaturePresent);

}  // namespace dosat::win32
