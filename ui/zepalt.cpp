#include "zepalt.h"

#include "dodata.h"
#include "dosat/saturation.h"
#include "dosat/utf8.h"
#include "program.h"

namespace dosat {

ZEPALT::ZEPALT(Program& program) : Form(program, design::kCalculationWindow) {}

void ZEPALT::FN1(double& DOT, const double& T) const { dosat::FN1(DOT, T); }
void ZEPALT::FN2(double& DZEP, const double& T) const { dosat::FN2(DZEP, T); }

void ZEPALT::Form_Load() {
  CentreOnScreen();
  Text1.SetFocus();
}

void ZEPALT::Form_Unload() {
  Unload();
  program().tableWindow().Unload();
  program().End();
}

void ZEPALT::Click(std::size_t control) {
  if (control == Command1.index()) Command1_Click();
  if (control == Command2.index()) Command2_Click();
  if (control == Command3.index()) Command3_Click();
}

void ZEPALT::Command1_Click() {
  const NumberLocale locale = program().platform().UserNumberLocale();
  const CalcOutcome outcome = Calculate(Text1.Text(), Text2.Text(), locale);
  switch (outcome.status) {
    case CalcStatus::Shown:
      fields_ = outcome.fields;
      Text3.SetText(outcome.text);
      native()->AnnounceValue(Text3.index());
      break;
    case CalcStatus::NoResult:
      break;
    case CalcStatus::NotANumber:
    case CalcStatus::Overflow:
      ReportBadInput(outcome, locale);
      break;
  }
}

void ZEPALT::Command2_Click() {
  Text1.SetText("");
  Text2.SetText("");
  Text3.SetText("");
}

void ZEPALT::Command3_Click() {
  Hide();
  program().tableWindow().Show();
}

// Names the box and, for a text that is not a number, the decimal separator
// the user's settings expect: where that is a comma, "21.5" is not a number.
std::string ZEPALT::BadInputMessage(const CalcOutcome& outcome, NumberLocale locale) {
  std::string message = outcome.input == CalcInput::Temperature ? "水温" : "塩素イオン濃度";
  if (outcome.status == CalcStatus::Overflow) return message + "の値が大きすぎて計算できません。";
  std::string decimal;
  utf8::Append(decimal, locale.decimal);
  return message + "を数値で入力してください。\n小数点は「" + decimal + "」です（例: 20" + decimal +
         "5）。";
}

// A text that is not a number, or a value the arithmetic cannot carry, would
// otherwise end the program and lose what the user typed. Say which box to
// correct, change nothing, and put the user back in that box.
void ZEPALT::ReportBadInput(const CalcOutcome& outcome, NumberLocale locale) {
  const Control& box = outcome.input == CalcInput::Temperature ? Text1 : Text2;
  native()->ShowWarning(kMessageCaption, BadInputMessage(outcome, locale),
                        [&box] { box.SetFocus(true); });
}

}  // namespace dosat
