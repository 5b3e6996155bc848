#pragma once

#include <cstddef>
#include <string>

#include "dosat/calculate.h"
#include "form.h"

namespace dosat {

/// The calculation window: temperature and chloride in, saturated dissolved
/// oxygen out, and the way to the table window.
class ZEPALT : public Form {
 public:
  explicit ZEPALT(Program& program);

  /// Saturated DO (mg/L) of chloride-free water at T (°C), into DOT.
  void FN1(double& DOT, const double& T) const;
  /// Drop of saturated DO (mg/L) per 100 mg/L chloride at T (°C), into DZEP.
  void FN2(double& DZEP, const double& T) const;

  /// The numbers of the latest calculation that gave a result.
  const CalculationFields& fields() const { return fields_; }

  /// What the warning says for an input that cannot be calculated with.
  static std::string BadInputMessage(const CalcOutcome& outcome, NumberLocale locale);
  /// The warning's caption.
  static constexpr std::string_view kMessageCaption = "溶存酸素濃度";

  // The controls, named as designed.
  const Control Label5{*this, "Label5"};
  const Control Label6{*this, "Label6"};
  const Control Label1{*this, "Label1"};
  const Control Text1{*this, "Text1"};
  const Control Label7{*this, "Label7"};
  const Control Label2{*this, "Label2"};
  const Control Text2{*this, "Text2"};
  const Control Label3{*this, "Label3"};
  const Control Command1{*this, "Command1"};
  const Control Command2{*this, "Command2"};
  const Control Text3{*this, "Text3"};
  const Control Label4{*this, "Label4"};
  const Control Command3{*this, "Command3"};

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  void Click(std::size_t control) override;

 private:
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void ReportBadInput(const CalcOutcome& outcome, NumberLocale locale);

  CalculationFields fields_;
};

}  // namespace dosat
