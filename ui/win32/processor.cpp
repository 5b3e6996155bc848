#include "processor.h"

namespace dosat::win32 {

const wchar_t kNoSse2Caption[] = L"dosat";
const wchar_t kNoSse2Text[] =
    L"このパソコンでは dosat を使えません。\n\n"
    L"dosat を使うには、SSE2 に対応した CPU（Pentium 4 や Athlon 64 以降の CPU）が"
    L"必要です。このパソコンの CPU は SSE2 に対応していません。";

bool ProcessorRunsProgram(FeatureQuery featurePresent) {
  if (featurePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE)) return true;
  MessageBoxW(nullptr, kNoSse2Text, kNoSse2Caption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  return false;
}

}  // namespace dosat::win32
