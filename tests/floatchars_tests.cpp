// The C library's forms of the exact number texts, which the browser build uses for want
// of <charconv>'s floating point, held against <charconv> itself: the same bits and the
// same texts, also where the C locale's decimal point is a comma.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "dosat/floatchars.h"

namespace {

std::string Text(std::to_chars_result (*write)(char*, char*, double, int), double v, int precision) {
  char buffer[64];
  const auto r = write(buffer, buffer + sizeof buffer, v, precision);
  return r.ec == std::errc() ? std::string(buffer, r.ptr) : "(too long)";
}

std::string Shortest(std::to_chars_result (*write)(char*, char*, double), double v) {
  char buffer[64];
  const auto r = write(buffer, buffer + sizeof buffer, v);
  return r.ec == std::errc() ? std::string(buffer, r.ptr) : "(too long)";
}

std::to_chars_result StdScientific(char* first, char* last, double v, int precision) {
  return std::to_chars(first, last, v, std::chars_format::scientific, precision);
}
std::to_chars_result StdShortest(char* first, char* last, double v) { return std::to_chars(first, last, v); }

// Doubles of every exponent and sign, and the figures the calculation meets.
std::vector<double> Values() {
  std::mt19937_64 random(6);
  std::vector<double> values = {0.0, -0.0, 1.0, 0.1, 0.125, 0.5, 2.5, 14.155, 7.010275300427201, 1e20,
                                1e-5, 123456.0, 1234567.0, 5e-324, 1.7976931348623157e308, 2.2250738585072014e-308};
  while (values.size() < 100'000) {
    const double v = std::bit_cast<double>(random());
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 120) - 60));
    values.push_back(static_cast<double>(random() % 100000) / 1000);  // as typed: 12.345
  }
  return values;
}

class FloatChars : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!std::setlocale(LC_NUMERIC, GetParam())) GTEST_SKIP() << "no locale " << GetParam();
  }
  void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }
};

TEST_P(FloatChars, WriteAsCharconvDoes) {
  int differing = 0;
  for (double v : Values()) {
    for (int precision : {14, 0, 1, 2, 16, 20}) {
      const std::string want = Text(StdScientific, v, precision);
      const std::string got = Text(dosat::detail::WriteScientificWithPrintf, v, precision);
      if (got != want && ++differing <= 5) ADD_FAILURE() << want << " written as " << got;
    }
    const std::string want = Shortest(StdShortest, v);
    const std::string got = Shortest(dosat::detail::WriteShortestWithPrintf, v);
    if (got != want && ++differing <= 5) ADD_FAILURE() << want << " written shortest as " << got;
  }
  EXPECT_EQ(differing, 0);
}

TEST_P(FloatChars, ReadAsCharconvDoes) {
  std::vector<std::string> texts = {"0", "-0", "12.5", "-.5", "5.", "1e5", "1E-5", "2.1e+4", "1e", "1e+",
                                    "1e5x", "-", ".", "", "+1", " 1", "0x10", ".e5", "1.2.3",
                                    "1e400", "-1e400", "1e-400", "2.4703282292062327e-324",
                                    "2.4703282292062328e-324", "1.00000000000000011102230246251565404236316680908203125",
                                    "1.000000000000000111022302462515654042363166809082031250001"};
  for (double v : Values()) {
    char buffer[64];
    texts.emplace_back(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
    texts.emplace_back(buffer, std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 19).ptr);
  }
  int differing = 0;
  for (const std::string& text : texts) {
    const char* first = text.data();
    const char* last = first + text.size();
    double want = -1, got = -1;
    const auto a = std::from_chars(first, last, want, std::chars_format::general);
    const auto b = dosat::detail::ReadDoubleWithStrtod(first, last, got);
    if ((a.ec != b.ec || a.ptr != b.ptr || std::bit_cast<std::uint64_t>(want) != std::bit_cast<std::uint64_t>(got)) &&
        ++differing <= 5) {
      ADD_FAILURE() << '"' << text << "\" read as " << got << " (" << b.ptr - first << " chars, "
                    << static_cast<int>(b.ec) << "), not " << want << " (" << a.ptr - first << ", "
                    << static_cast<int>(a.ec) << ")";
    }
  }
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Locales, FloatChars, testing::Values("C", "de_DE.UTF-8"),
                         [](const auto& info) { return std::string(info.index == 0 ? "C" : "decimal_comma"); });

}  // namespace
