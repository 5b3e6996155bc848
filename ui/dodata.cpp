#include "dodata.h"

#include "program.h"
#include "zepalt.h"

namespace dosat {

DOData::DOData(Program& program) : Form(program, design::kTableWindow) {}

void DOData::Form_Load() { CentreOnScreen(); }

void DOData::Form_Unload() {
  Unload();
  program().calculationWindow().Unload();
  program().End();
}

void DOData::Click(std::size_t control) {
  if (control == Command1.index()) Command1_Click();
}

void DOData::Command1_Click() {
  Hide();
  program().calculationWindow().Show();
}

}  // namespace dosat
