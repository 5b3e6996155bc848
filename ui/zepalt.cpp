#include "zepalt.h"

#include <QLocale>
#include <QMessageBox>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "dodata.h"
#include "dosat/saturation.h"
#include "fonts.h"
#include "program.h"
#include "twips.h"

namespace dosat {
namespace {

enum class Kind { Label, TextBox, Button };

constexpr std::uint32_t kDefaultColour = 0xFFFFFFFF;  // not a 0x00BBGGRR value

struct Control {
  const char* name;
  Kind kind;
  const char* text;
  int left, top, width, height;  // twips
  int tabIndex;
  bool designFont;       // else the default font
  std::uint32_t colour;  // the text colour, 0x00BBGGRR
};

// Listed top to bottom as they stand in the window. Label2 reaches into
// Label3's area; Label3, made later, lies above it.
constexpr std::array<Control, 13> kControls = {{
    {"Label5", Kind::Label, "適用範囲 :Temp=0～35℃", 900, 255, 3135, 255, 9, true, 0x00008000},
    {"Label6", Kind::Label, "Salt=純水～海水", 1965, 615, 2055, 255, 10, true, 0x00008000},
    {"Label1", Kind::Label, "水温(℃)", 360, 1170, 1095, 375, 0, true, kDefaultColour},
    {"Text1", Kind::TextBox, "", 3120, 1080, 1095, 390, 3, true, kDefaultColour},
    {"Label7", Kind::Label, "( 0～35℃ )", 360, 1470, 1365, 255, 12, false, kDefaultColour},
    {"Label2", Kind::Label, "塩素イオン濃度(mg/L)", 360, 1800, 2295, 495, 1, true, kDefaultColour},
    {"Text2", Kind::TextBox, "", 3120, 1800, 1095, 390, 4, true, kDefaultColour},
    {"Label3", Kind::Label, "(海水標準=21000mg/L)", 360, 2115, 1935, 255, 2, false, kDefaultColour},
    {"Command1", Kind::Button, "計算", 840, 2595, 1095, 495, 5, true, kDefaultColour},
    {"Command2", Kind::Button, "クリヤ", 2745, 2580, 1095, 495, 6, true, kDefaultColour},
    {"Text3", Kind::TextBox, "", 3120, 3360, 1095, 375, 8, true, 0x00FF00FF},
    {"Label4", Kind::Label, "飽和溶存酸素濃度(mg/L)", 360, 3480, 2775, 375, 7, true, kDefaultColour},
    {"Command3", Kind::Button, "JIS K0102 溶存酸素(表)", 1200, 4125, 2280, 390, 11, false,
     kDefaultColour},
}};

QColor FromBgr(std::uint32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QWidget* Create(const Control& row, QWidget* window) {
  const QString text = QString::fromUtf8(row.text);
  QWidget* widget = nullptr;
  QPalette::ColorRole textRole = QPalette::WindowText;
  switch (row.kind) {
    case Kind::Label: {
      auto* label = new QLabel(text, window);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(true);
      widget = label;
      break;
    }
    case Kind::TextBox: {
      auto* box = new QLineEdit(text, window);
      box->setMaxLength(INT_MAX);  // the toolkit's default stops at 32767
      widget = box;
      textRole = QPalette::Text;
      break;
    }
    case Kind::Button:
      widget = new QPushButton(text, window);
      break;
  }
  widget->setObjectName(QString::fromLatin1(row.name));
  widget->setGeometry(twips::toPixels(row.left, row.top, row.width, row.height));
  if (row.designFont) widget->setFont(designFont());
  if (row.colour != kDefaultColour) {
    QPalette palette = widget->palette();
    palette.setColor(textRole, FromBgr(row.colour));
    widget->setPalette(palette);
  }
  return widget;
}

// The locale's number characters, as the user's settings give them.
NumberLocale SystemNumberLocale() {
  const QLocale locale = QLocale::system();
  const auto first = [](const QString& text, char32_t fallback) {
    const QList<uint> ucs4 = text.toUcs4();
    return ucs4.isEmpty() ? fallback : static_cast<char32_t>(ucs4.first());
  };
  return {first(locale.decimalPoint(), U'.'), first(locale.groupSeparator(), U',')};
}

}  // namespace

ZEPALT::ZEPALT(Program& program)
    // The ideographic spaces push the caption towards the middle of the title bar.
    : Form(program, QString::fromUtf8("　　　　　　　溶存酸素濃度(JISK0102)"), 4665, 4755) {}

void ZEPALT::FN1(double& DOT, const double& T) const { dosat::FN1(DOT, T); }
void ZEPALT::FN2(double& DZEP, const double& T) const { dosat::FN2(DZEP, T); }

void ZEPALT::createControls(QWidget* window) {
  std::array<QWidget*, kControls.size()> made{};
  for (std::size_t i = 0; i < kControls.size(); ++i) made[i] = Create(kControls[i], window);

  const auto find = [&]<typename T>(T*& member, const char* name) {
    member = window->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
  };
  find(Label5, "Label5");
  find(Label6, "Label6");
  find(Label1, "Label1");
  find(Text1, "Text1");
  find(Label7, "Label7");
  find(Label2, "Label2");
  find(Text2, "Text2");
  find(Label3, "Label3");
  find(Command1, "Command1");
  find(Command2, "Command2");
  find(Text3, "Text3");
  find(Label4, "Label4");
  find(Command3, "Command3");

  // Tab visits the controls that take focus in the order of their tab index.
  std::array<std::size_t, kControls.size()> order{};
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [](std::size_t a, std::size_t b) { return kControls[a].tabIndex < kControls[b].tabIndex; });
  QWidget* previous = nullptr;
  for (std::size_t i : order) {
    if (made[i]->focusPolicy() == Qt::NoFocus) continue;
    if (previous) QWidget::setTabOrder(previous, made[i]);
    previous = made[i];
  }

  // A screen reader names each box by the label beside it.
  Text1->setAccessibleName(Label1->text());
  Text2->setAccessibleName(Label2->text());
  Text3->setAccessibleName(Label4->text());

  connect(Command1, &QPushButton::clicked, this, &ZEPALT::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &ZEPALT::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &ZEPALT::Command3_Click);
}

void ZEPALT::Form_Load() {
  centreOnScreen();
  Text1->setFocus();
}

void ZEPALT::Form_Unload() {
  Unload();
  program().tableWindow().Unload();
  program().End();
}

void ZEPALT::Command1_Click() {
  const CalcOutcome outcome =
      Calculate(Text1->text().toUtf8().toStdString(), Text2->text().toUtf8().toStdString(),
                SystemNumberLocale());
  switch (outcome.status) {
    case CalcStatus::Shown:
      fields_ = outcome.fields;
      Text3->setText(QString::fromStdString(outcome.text));
      break;
    case CalcStatus::NoResult:
      break;
    case CalcStatus::NotANumber:
    case CalcStatus::Overflow:
      reportBadInput(outcome);
      break;
  }
}

void ZEPALT::Command2_Click() {
  Text1->setText(QString());
  Text2->setText(QString());
  Text3->setText(QString());
}

void ZEPALT::Command3_Click() {
  Hide();
  program().tableWindow().Show();
}

// A text that is not a number, or a value the arithmetic cannot carry, would
// otherwise end the program and lose what the user typed. Say which box to
// correct, change nothing, and put the user back in that box.
void ZEPALT::reportBadInput(const CalcOutcome& outcome) {
  const bool temperature = outcome.input == CalcInput::Temperature;
  QLineEdit* box = temperature ? Text1 : Text2;
  const char* what = temperature ? "水温" : "塩素イオン濃度";
  const char* message = outcome.status == CalcStatus::NotANumber
                            ? "を数値で入力してください。"
                            : "の値が大きすぎて計算できません。";
  auto* dialog = new QMessageBox(QMessageBox::Warning, QString::fromUtf8("溶存酸素濃度"),
                                 QString::fromUtf8(what) + QString::fromUtf8(message),
                                 QMessageBox::Ok, window());
  dialog->setObjectName("BadInputMessage");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QMessageBox::finished, box, [box] {
    box->setFocus();
    box->selectAll();
  });
  dialog->open();
}

}  // namespace dosat
