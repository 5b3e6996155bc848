#pragma once

#include <QPushButton>

#include "form.h"
#include "picturebox.h"

namespace dosat {

/// The table window: the JIS K0102 table of saturated dissolved oxygen in
/// water, as a picture, and the way back to the calculation window.
class DOData : public Form {
  Q_OBJECT

 public:
  explicit DOData(Program& program);

  // The controls, named as designed; null while the window is not loaded.
  PictureBox* Picture1 = nullptr;
  QPushButton* Command1 = nullptr;

 protected:
  void createControls(QWidget* window) override;
  void Form_Load() override;
  void Form_Unload() override;

 private:
  void Command1_Click();
};

}  // namespace dosat
