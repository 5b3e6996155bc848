#pragma once

#include <cstddef>

#include "form.h"

namespace dosat {

/// The table window: the JIS K0102 table of saturated dissolved oxygen in
/// water, as a picture, and the way back to the calculation window.
class DOData : public Form {
 public:
  explicit DOData(Program& program);

  // The controls, named as designed.
  const Control Picture1{*this, "Picture1"};
  const Control Command1{*this, "Command1"};

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  void Click(std::size_t control) override;

 private:
  void Command1_Click();
};

}  // namespace dosat
