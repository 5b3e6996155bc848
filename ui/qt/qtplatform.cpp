#include "qtplatform.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>
#include <vector>

#include "accessibility.h"
#include "design.h"
#include "embeddedtable.h"
#include "qtfonts.h"
#include "picturebox.h"
#include "formwidget.h"
#include "screens.h"
#include "textcolour.h"
#include "twips.h"

namespace dosat {
namespace {

using qt::FormWidget;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Where a control goes in a window laid out at `scale`.
QRect ToPixels(const design::Control& row, float scale) {
  return QRect(twips::toPixels(row.left * scale), twips::toPixels(row.top * scale),
               twips::toPixels(row.width * scale), twips::toPixels(row.height * scale));
}

QFont Scaled(QFont font, float scale) {
  font.setPointSizeF(font.pointSizeF() * scale);
  return font;
}


class QtWindow final : public NativeWindow {
 public:
  QtWindow(const design::Window& design, WindowEvents& events);
  ~QtWindow() override;

  void Show() override;
  void Hide() override;
  bool IsVisible() const override { return widget_->isVisible(); }
  void Move(float left, float top) override {
    hiddenAt_.reset();
    widget_->move(twips::toPixels(left), twips::toPixels(top));
  }
  float OuterLeft() const override { return twips::fromPixels(outerCorner().x()); }
  float OuterTop() const override { return twips::fromPixels(outerCorner().y()); }
  // The client area as laid out, whatever the window manager has made of it, and the
  // frame Qt knows round it.
  float OuterWidth() const override {
    return twips::fromPixels(widget_->laidOut().width() + widget_->frameGeometry().width() - widget_->width());
  }
  float OuterHeight() const override {
    return twips::fromPixels(widget_->laidOut().height() + widget_->frameGeometry().height() - widget_->height());
  }
  float ClientWidth() const override { return twips::fromPixels(widget_->laidOut().width()); }
  float ClientHeight() const override { return twips::fromPixels(widget_->laidOut().height()); }
  placement::Margins FrameMargins() const override;
  void SetScale(float scale) override;

  std::string Text(std::size_t control) const override;
  void SetText(std::size_t control, std::string_view text) override;
  void Focus(std::size_t control, bool selectAll) override;
  void AnnounceValue(std::size_t control) override;
  void ShowWarning(std::string_view caption, std::string_view text,
                   std::function<void()> closed) override;

  QWidget* widget() const { return widget_; }
  QWidget* control(std::size_t index) const { return controls_.at(index); }

 private:
  QWidget* makeControl(const design::Control& row, std::size_t index, WindowEvents& events);
  /// Draws each control that sets a text colour in what the contrast rule makes of it
  /// on the palette the window has now.
  void applyTextColours();
  /// Where the outer frame's corner stands, or stood when the window was hidden.
  QPoint outerCorner() const;

  const design::Window& design_;
  FormWidget* widget_;
  std::vector<QWidget*> controls_;
  /// Where the client area stood on the screen when the window was last hidden, until
  /// it is shown again or moved.
  std::optional<QPoint> hiddenAt_;
  /// The frame the window manager said it would put round the window, device pixels.
  mutable std::optional<QMargins> managerFrame_;
};

QtWindow::QtWindow(const design::Window& design, WindowEvents& events)
    : design_(design), widget_(new FormWidget(events)) {
  widget_->setObjectName(FromUtf8(design.className));
  widget_->setWindowTitle(FromUtf8(design.caption));
  widget_->layOut(QSize(twips::toPixels(design.clientWidth), twips::toPixels(design.clientHeight)));
  // Its background, where the window has one of its own, comes with the text colours.
  if (design.background != design::kDefaultColour) widget_->setAutoFillBackground(true);

  const auto& rows = design.controls;
  for (std::size_t i = 0; i < rows.size(); ++i) controls_.push_back(makeControl(rows[i], i, events));
  applyTextColours();
  widget_->onPaletteChange([this] { applyTextColours(); });

  // Tab visits the controls that take focus in the order of their tab index; a screen
  // reader names each box by the label beside it and reads the range hint under it.
  QWidget* previous = nullptr;
  for (std::size_t i : accessibility::TabOrder(design)) {
    if (previous) QWidget::setTabOrder(previous, controls_[i]);
    previous = controls_[i];
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].kind == design::Kind::Picture) continue;  // the table tells its own
    const accessibility::Told told = accessibility::WhatReadersAreTold(design, i);
    if (!told.name.empty()) controls_[i]->setAccessibleName(FromUtf8(told.name));
    if (!told.description.empty()) controls_[i]->setAccessibleDescription(FromUtf8(told.description));
  }

  // The native window is made now, so that the outer size the load handler
  // reads includes the frame wherever the platform knows it before showing.
  widget_->winId();
  widget_->watchScreens();
}

QPoint QtWindow::outerCorner() const {
  const QRect frame = widget_->frameGeometry();
  if (!hiddenAt_) return frame.topLeft();
  return *hiddenAt_ - (widget_->geometry().topLeft() - frame.topLeft());
}

// Qt learns of the frame only once the window manager has framed the window: until then
// the window manager is asked what it will put round it.
placement::Margins QtWindow::FrameMargins() const {
  if (widget_->frameGeometry() != widget_->geometry()) return {};
  if (!managerFrame_) managerFrame_ = qt::WindowManagerFrame(*widget_);
  const qreal ratio = widget_->devicePixelRatioF();
  const auto twipsOf = [ratio](int devicePixels) { return float(devicePixels * twips::kPerPixelAt96Dpi / ratio); };
  return {twipsOf(managerFrame_->left()), twipsOf(managerFrame_->top()), twipsOf(managerFrame_->right()),
          twipsOf(managerFrame_->bottom())};
}

// Controls and fonts as designed at 1; at any other scale each font at that many times
// its size, so that the texts keep to their controls.
void QtWindow::SetScale(float scale) {
  widget_->layOut(QSize(twips::toPixels(design_.clientWidth * scale), twips::toPixels(design_.clientHeight * scale)));
  const auto& rows = design_.controls;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QWidget* control = controls_[i];
    control->setGeometry(ToPixels(rows[i], scale));
    const bool gothic = rows[i].font == design::Font::Gothic12;
    if (scale == 1.0f) {
      control->setFont(gothic ? designFont() : QFont());
    } else {
      control->setFont(Scaled(gothic ? designFont() : defaultFont(), scale));
    }
    if (auto* picture = dynamic_cast<PictureBox*>(control)) {
      const table::TableLayout* layout = table::embeddedLayout();
      const QSize interior = picture->contentsRect().size();
      const qreal shown = layout ? table::shownRatio(*layout, scale, interior.width(), interior.height()) : scale;
      picture->setScale(shown);
      picture->setProperty(table::kScaleProperty, shown);
    }
  }
}

// A window manager may move a window it stops managing: mutter leaves a hidden window's
// client area where the corner of its frame was, and takes that for the client area's
// place when the window is shown again, so that it comes back the title bar's height
// higher each time. The client area is put back before the window manager sees the
// window again; where it was left in place, nothing is sent. The client area and not
// the frame, whose size Qt may not have read yet when the window is first hidden.
void QtWindow::Show() {
  if (hiddenAt_) widget_->setGeometry(QRect(*hiddenAt_, widget_->laidOut()));
  hiddenAt_.reset();
  widget_->show();
}

void QtWindow::Hide() {
  if (widget_->isVisible()) hiddenAt_ = widget_->geometry().topLeft();
  widget_->hide();
}

QWidget* QtWindow::makeControl(const design::Control& row, std::size_t index,
                               WindowEvents& events) {
  const QString text = FromUtf8(row.text);
  QWidget* widget = nullptr;
  switch (row.kind) {
    case design::Kind::Label: {
      auto* label = new QLabel(text, widget_);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(true);
      widget = label;
      break;
    }
    case design::Kind::TextBox: {
      auto* box = new QLineEdit(text, widget_);
      box->setMaxLength(INT_MAX);  // Qt's default stops at 32767
      widget = box;
      break;
    }
    case design::Kind::Button: {
      auto* button = new QPushButton(text, widget_);
      button->setAutoDefault(false);
      QObject::connect(button, &QPushButton::clicked, button,
                       [&events, index] { events.Clicked(index); });
      widget = button;
      break;
    }
    case design::Kind::Picture: {
      auto* picture = new PictureBox(widget_);
      // Before anything asks for its accessible interface: screen readers read the table's cells.
      table::makeTableAccessible(picture);
      picture->setAccessibleName(FromUtf8(accessibility::WhatReadersAreTold(design_, index).name));
      // Decoded here, the first time the table is asked for, not at start-up.
      picture->setPicture(QImage(QStringLiteral(":/do-table.bmp")));
      // Elsewhere than at 1x the table is drawn afresh from its layout, sharp at the device's pixels.
      picture->setPictureForRatio(&table::renderShownTable);
      widget = picture;
      break;
    }
  }
  widget->setObjectName(FromUtf8(row.name));
  widget->setGeometry(ToPixels(row, 1.0f));
  if (row.font == design::Font::Gothic12) widget->setFont(designFont());
  return widget;
}

void QtWindow::applyTextColours() {
  const contrast::Palette palette = ApplicationPaletteKind();
  const QPalette desktop = QApplication::palette();
  const contrast::Desktop colours{ToBgr(desktop.color(QPalette::Window)), ToBgr(desktop.color(QPalette::WindowText)),
                                  ToBgr(desktop.color(QPalette::Base)), ToBgr(desktop.color(QPalette::Text)), palette};
  if (design_.background != design::kDefaultColour) {
    QPalette own = widget_->palette();
    own.setColor(QPalette::Window,
                 FromBgr(contrast::WindowBackground(design_.background, colours.window, colours.field, palette)));
    widget_->setPalette(own);
  }
  const contrast::TableColours table = contrast::TableColoursOn(colours);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const design::Control& row = design_.controls[i];
    if (row.colour != design::kDefaultColour) ApplyTextColour(*controls_[i], row, palette);
    if (auto* picture = dynamic_cast<PictureBox*>(controls_[i])) picture->setColours(FromBgr(table.ink), FromBgr(table.paper));
  }
}

// A window the user closed is deleted once its close event is over, not
// inside it.
QtWindow::~QtWindow() {
  widget_->detach();
  // Only the clicks: the accessibility cache and others still need to hear of the
  // controls' destruction.
  for (QWidget* control : controls_) {
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      QObject::disconnect(button, &QPushButton::clicked, nullptr, nullptr);
    }
  }
  widget_->hide();
  if (widget_->closing()) {
    widget_->deleteLater();
  } else {
    delete widget_;
  }
}

std::string QtWindow::Text(std::size_t control) const {
  const QWidget* widget = controls_.at(control);
  return widget->property("text").toString().toStdString();
}

void QtWindow::SetText(std::size_t control, std::string_view text) {
  controls_.at(control)->setProperty("text", FromUtf8(text));
}

void QtWindow::Focus(std::size_t control, bool selectAll) {
  QWidget* widget = controls_.at(control);
  widget->setFocus();
  if (auto* box = qobject_cast<QLineEdit*>(widget); box && selectAll) box->selectAll();
}

// The box's name and its new value, as an announcement where Qt has them (6.8 on); before,
// the value change alone, which a screen reader reads with the name it knows.
void QtWindow::AnnounceValue(std::size_t control) {
  QWidget* widget = controls_.at(control);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QAccessibleAnnouncementEvent event(widget, FromUtf8(accessibility::Announcement(design_, control, Text(control))));
#else
  QAccessibleValueChangeEvent event(widget, widget->property("text"));
#endif
  QAccessible::updateAccessibility(&event);
}

void QtWindow::ShowWarning(std::string_view caption, std::string_view text,
                           std::function<void()> closed) {
  auto* dialog = new QMessageBox(QMessageBox::Warning, FromUtf8(caption), FromUtf8(text),
                                 QMessageBox::Ok, widget_);
  dialog->setObjectName(QStringLiteral("BadInputMessage"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(dialog, &QMessageBox::finished, dialog, [closed = std::move(closed)] { closed(); });
  dialog->open();
}

}  // namespace


std::unique_ptr<NativeWindow> QtPlatform::MakeWindow(const design::Window& design,
                                                     WindowEvents& events) {
  return std::make_unique<QtWindow>(design, events);
}



void QtPlatform::Quit(int exitCode) { QCoreApplication::exit(exitCode); }

namespace qt {

QWidget* Window(const Form& form) {
  auto* native = dynamic_cast<QtWindow*>(form.native());
  return native ? native->widget() : nullptr;
}

QWidget* WidgetOf(const Control& control) {
  auto* native = dynamic_cast<QtWindow*>(control.form().native());
  return native ? native->control(control.index()) : nullptr;
}

}  // namespace qt
}  // namespace dosat
