#include "dosat/calculate.h"

#include <cmath>

#include "dosat/saturation.h"

namespace dosat {
namespace {

CalcOutcome Failure(CalcStatus status, CalcInput input) {
  CalcOutcome outcome;
  outcome.status = status;
  outcome.input = input;
  return outcome;
}

CalcOutcome ReadFailure(ReadStatus status, CalcInput input) {
  return Failure(status == ReadStatus::OutOfRange ? CalcStatus::Overflow : CalcStatus::NotANumber,
                 input);
}

}  // namespace

CalcOutcome Calculate(std::string_view temperature, std::string_view chloride,
                      NumberLocale locale) {
  if (temperature.empty() || chloride.empty()) return {};

  const ReadResult t = ReadNumber(temperature, locale);
  if (t.status != ReadStatus::Number) return ReadFailure(t.status, CalcInput::Temperature);
  const ReadResult c = ReadNumber(chloride, locale);
  if (c.status != ReadStatus::Number) return ReadFailure(c.status, CalcInput::Chloride);

  CalcOutcome outcome;
  CalculationFields& f = outcome.fields;
  f.temperature = t.value;
  f.chlorideFactor = c.value / 100;
  FN1(f.dot, f.temperature);
  FN2(f.dzep, f.temperature);
  // A non-finite step is blamed on the input that brought it in: the
  // polynomials on the temperature, the chloride term on the chloride.
  if (!std::isfinite(f.dot) || !std::isfinite(f.dzep)) {
    return Failure(CalcStatus::Overflow, CalcInput::Temperature);
  }
  const double drop = f.chlorideFactor * f.dzep;
  f.saturatedDo = f.dot - drop;
  if (!std::isfinite(drop) || !std::isfinite(f.saturatedDo)) {
    return Failure(CalcStatus::Overflow, CalcInput::Chloride);
  }

  outcome.status = CalcStatus::Shown;
  outcome.text = FormatResult(f.saturatedDo, locale);
  return outcome;
}

}  // namespace dosat
