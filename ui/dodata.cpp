#include "dodata.h"

#include <QImage>

#include "embeddedtable.h"
#include "program.h"
#include "twips.h"
#include "zepalt.h"

namespace dosat {

DOData::DOData(Program& program)
    // The spaces push the caption towards the middle of the title bar.
    : Form(program, QString(42, QLatin1Char(' ')) + QStringLiteral("DO(JIS K0102)"), 7425, 10485) {}

void DOData::createControls(QWidget* window) {
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, Qt::white);
  window->setPalette(palette);
  window->setAutoFillBackground(true);

  Picture1 = new PictureBox(window);
  Picture1->setObjectName("Picture1");
  // Before anything asks for its accessible interface: screen readers read the table's cells.
  table::makeTableAccessible(Picture1);
  Picture1->setAccessibleName(QString::fromUtf8(table::kTitle));
  Picture1->setGeometry(twips::toPixels(195, 345, 7035, 9495));
  // Decoded here, the first time the table is asked for, not at start-up.
  Picture1->setPicture(QImage(QStringLiteral(":/do-table.bmp")));
  // Elsewhere than at 1x the table is drawn afresh from its layout, sharp at the device's pixels.
  Picture1->setPictureForRatio(&table::renderShownTable);

  Command1 = new QPushButton(QString::fromUtf8("戻る"), window);
  Command1->setObjectName("Command1");
  Command1->setGeometry(twips::toPixels(6090, 9960, 1035, 375));

  QWidget::setTabOrder(Picture1, Command1);
  connect(Command1, &QPushButton::clicked, this, &DOData::Command1_Click);
}

void DOData::Form_Load() { centreOnScreen(); }

void DOData::Form_Unload() {
  Unload();
  program().calculationWindow().Unload();
  program().End();
}

void DOData::Command1_Click() {
  Hide();
  program().calculationWindow().Show();
}

}  // namespace dosat
