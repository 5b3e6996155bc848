#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dosat/calculate.h"
#include "form.h"

namespace dosat {

/// The calculation window: temperature and chloride in, saturated dissolved
/// oxygen out, and the way to the table window.
class ZEPALT : public Form {
  Q_OBJECT

 public:
  explicit ZEPALT(Program& program);

  /// Saturated DO (mg/L) of chloride-free water at T (°C), into DOT.
  void FN1(double& DOT, const double& T) const;
  /// Drop of saturated DO (mg/L) per 100 mg/L chloride at T (°C), into DZEP.
  void FN2(double& DZEP, const double& T) const;

  /// The numbers of the latest calculation that gave a result.
  const CalculationFields& fields() const { return fields_; }

  // The controls, named as designed; null while the window is not loaded.
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Text2 = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QLineEdit* Text3 = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* Command3 = nullptr;

 protected:
  void createControls(QWidget* window) override;
  void Form_Load() override;
  void Form_Unload() override;

 private:
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void reportBadInput(const CalcOutcome& outcome);

  CalculationFields fields_;
};

}  // namespace dosat
