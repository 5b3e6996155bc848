#pragma once

#include <string>
#include <string_view>

#include "dosat/numbertext.h"

namespace dosat {

/// The five numbers of one calculation.
struct CalculationFields {
  double temperature = 0.0;     ///< °C
  double chlorideFactor = 0.0;  ///< chloride mg/L ÷ 100
  double dot = 0.0;             ///< FN1: saturated DO of chloride-free water, mg/L
  double dzep = 0.0;            ///< FN2: drop per 100 mg/L chloride, mg/L
  double saturatedDo = 0.0;     ///< mg/L
};

enum class CalcStatus {
  Shown,       ///< text holds the result text, fields the numbers behind it
  NoResult,    ///< an input text is empty: leave the result as it was
  NotANumber,  ///< input names the text that is not a number
  Overflow,    ///< input names the text whose value cannot be computed with
};

enum class CalcInput { None, Temperature, Chloride };

struct CalcOutcome {
  CalcStatus status = CalcStatus::NoResult;
  CalcInput input = CalcInput::None;
  std::string text;
  CalculationFields fields;
};

/// Turns the temperature and chloride texts, exactly as typed, into the result
/// text. Only an empty text gives no result. A text that is not a number, or a
/// value whose arithmetic leaves the double range, gives an error naming the
/// input to correct, and nothing else.
CalcOutcome Calculate(std::string_view temperature, std::string_view chloride,
                      NumberLocale locale);

}  // namespace dosat
