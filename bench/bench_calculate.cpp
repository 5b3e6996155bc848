// Time of one press of the calculate button's arithmetic: two texts in, one
// result text out.
#include <benchmark/benchmark.h>

#include "dosat/calculate.h"
#include "dosat/saturation.h"

namespace {

constexpr dosat::NumberLocale kLocale{U'.', U','};

void BM_Calculate(benchmark::State& state, const char* temperature, const char* chloride) {
  for (auto _ : state) {
    dosat::CalcOutcome outcome = dosat::Calculate(temperature, chloride, kLocale);
    benchmark::DoNotOptimize(outcome);
  }
}
BENCHMARK_CAPTURE(BM_Calculate, sea_water, "20", "21000");
BENCHMARK_CAPTURE(BM_Calculate, pure_water, "0", "0");
BENCHMARK_CAPTURE(BM_Calculate, fraction, "25.5", "12345.6");
BENCHMARK_CAPTURE(BM_Calculate, full_width, "２０．５", "２１，０００");

void BM_Polynomials(benchmark::State& state) {
  double t = 20.0;
  for (auto _ : state) {
    double dot = 0, dzep = 0;
    benchmark::DoNotOptimize(t);
    dosat::FN1(dot, t);
    dosat::FN2(dzep, t);
    benchmark::DoNotOptimize(dot);
    benchmark::DoNotOptimize(dzep);
  }
}
BENCHMARK(BM_Polynomials);

}  // namespace
