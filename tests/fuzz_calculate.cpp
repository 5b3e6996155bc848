// libFuzzer target: any two texts and any locale must give an outcome without
// a crash, and a shown result must be a well-formed "###.00" text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dosat/calculate.h"

namespace {

constexpr dosat::NumberLocale kLocales[] = {
    {U'.', U','}, {U',', U'.'}, {U',', U'\u00A0'}, {U'.', U'\''}, {U'\u066B', U'\u066C'}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const dosat::NumberLocale locale = kLocales[data[0] % std::size(kLocales)];
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  // The first NUL splits the two texts, so both can be anything else.
  const std::size_t split = rest.find('\0');
  const std::string_view temperature = rest.substr(0, split);
  const std::string_view chloride =
      split == std::string_view::npos ? std::string_view("0") : rest.substr(split + 1);

  const dosat::CalcOutcome outcome = dosat::Calculate(temperature, chloride, locale);
  if (outcome.status == dosat::CalcStatus::Shown) {
    const std::string& text = outcome.text;
    const bool wellFormed = text.size() >= 3 && text.find_first_of("0123456789") != std::string::npos &&
                            text.substr(text.size() - 2).find_first_not_of("0123456789") ==
                                std::string::npos;
    if (!wellFormed) std::abort();
  } else if (!outcome.text.empty()) {
    std::abort();
  }
  return 0;
}
