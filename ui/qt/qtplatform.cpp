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

#include "plan.h"
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

QRect ToQRect(const plan::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }


class QtWindow final : public NativeWindow {
 public:
  QtWindow(const design::Window& design, WindowEvents& events);
  ~QtWindow() override;

  void Show() override;
  void Hide() override;
  bool IsVisible() const override { return widget_->isVisible(); }
  void Move(float left, float top) override {
    hiddenAt_.reset();
    widget_->move(twips::ToPixels(left), twips::ToPixels(top));
  }
  float OuterLeft() const override { return twips::FromPixels(outerCorner().x()); }
  float OuterTop() const override { return twips::FromPixels(outerCorner().y()); }
  // The client area as laid out, whatever the window manager has made of it, and the
  // frame Qt knows round it.
  float OuterWidth() const override {
    return twips::FromPixels(widget_->laidOut().width() + widget_->frameGeometry().width() - widget_->width());
  }
  float OuterHeight() const override {
    return twips::FromPixels(widget_->laidOut().height() + widget_->frameGeometry().height() - widget_->height());
  }
  float ClientWidth() const override { return twips::FromPixels(widget_->laidOut().width()); }
  float ClientHeight() const override { return twips::FromPixels(widget_->laidOut().height()); }
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
  QWidget* makeControl(const plan::Control& control, WindowEvents& events);
  /// Places the controls and sets their fonts as `layout`, laid out at `ratio`, has them.
  void place(const plan::Window& layout, double ratio);
  /// The window's background, the table, and each control that sets a text colour drawn
  /// in what they take on the palette the window has now.
  void applyColours();
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
  // Qt's logical pixels are the designed ones; it scales them to the screen itself.
  const plan::Window layout = plan::LayOut(design, 1.0);
  widget_->layOut(QSize(layout.clientWidth, layout.clientHeight));
  // Its background, where the window has one of its own, comes with the text colours.
  if (design.background != design::kDefaultColour) widget_->setAutoFillBackground(true);

  controls_.assign(design.controls.size(), nullptr);
  for (const plan::Control& control : layout.controls) controls_[control.row] = makeControl(control, events);
  place(layout, 1.0);
  // Later siblings are drawn over earlier ones: raised from the lowest in the stacking up.
  std::vector<const plan::Control*> stacked;
  for (const plan::Control& control : layout.controls) stacked.push_back(&control);
  std::stable_sort(stacked.begin(), stacked.end(),
                   [](const plan::Control* a, const plan::Control* b) { return a->stacking < b->stacking; });
  for (const plan::Control* control : stacked) controls_[control->row]->raise();
  // Tab visits the controls that take focus in the order they are made.
  QWidget* previous = nullptr;
  for (const plan::Control& control : layout.controls) {
    if (!control.tabStop) continue;
    if (previous) QWidget::setTabOrder(previous, controls_[control.row]);
    previous = controls_[control.row];
  }
  applyColours();
  widget_->onPaletteChange([this] { applyColours(); });

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
  const plan::Window layout = plan::LayOut(design_, scale);
  widget_->layOut(QSize(layout.clientWidth, layout.clientHeight));
  place(layout, scale);
}

void QtWindow::place(const plan::Window& layout, double ratio) {
  for (const plan::Control& control : layout.controls) {
    QWidget* widget = controls_[control.row];
    widget->setGeometry(ToQRect(control.rect));
    widget->setFont(FontOf(control.face, control.fontPixels));
    // The table as designed needs no layout of it: the picture itself is shown.
    auto* picture = dynamic_cast<PictureBox*>(widget);
    if (picture && !(ratio == 1 && picture->scale() == 1)) {
      const table::TableLayout* table = table::EmbeddedLayout();
      const QSize interior = picture->contentsRect().size();
      const qreal shown = table ? table::ShownRatio(*table, ratio, interior.width(), interior.height()) : ratio;
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

QWidget* QtWindow::makeControl(const plan::Control& control, WindowEvents& events) {
  const design::Control& row = design_.controls[control.row];
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
                       [&events, index = control.row] { events.Clicked(index); });
      widget = button;
      break;
    }
    case design::Kind::Picture: {
      auto* picture = new PictureBox(widget_);
      // Before anything asks for its accessible interface: screen readers read the table's cells.
      table::MakeTableAccessible(picture);
      picture->setAccessibleName(FromUtf8(control.told.name));
      // Decoded here, the first time the table is asked for, not at start-up.
      picture->setPicture(QImage(QStringLiteral(":/do-table.bmp")));
      // Elsewhere than at 1x the table is drawn afresh from its layout, sharp at the device's pixels.
      picture->setPictureForRatio(&table::RenderShownTable);
      widget = picture;
      break;
    }
  }
  widget->setObjectName(FromUtf8(row.name));
  // A screen reader names each box by the label beside it and reads the range hint under
  // it; the table tells its own.
  if (control.kind != design::Kind::Picture) {
    if (!control.told.name.empty()) widget->setAccessibleName(FromUtf8(control.told.name));
    if (!control.told.description.empty()) widget->setAccessibleDescription(FromUtf8(control.told.description));
  }
  return widget;
}

void QtWindow::applyColours() {
  const contrast::Palette palette = ApplicationPaletteKind();
  // The field of a text box as its style has polished it.
  QPalette fields = QApplication::palette();
  for (QWidget* control : controls_) {
    if (qobject_cast<QLineEdit*>(control)) fields = control->palette();
  }
  const plan::Colours active = plan::ColoursOn(design_, DesktopColours(QPalette::Active, fields, palette));
  if (design_.background != design::kDefaultColour) {
    QPalette own = widget_->palette();
    own.setColor(QPalette::Window, FromBgr(active.background));
    widget_->setPalette(own);
  }
  std::vector<QPalette> own;
  for (QWidget* control : controls_) own.push_back(control->palette());
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const plan::Colours colours = plan::ColoursOn(design_, DesktopColours(group, fields, palette));
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      if (!colours.text[i].own) continue;
      const bool field = design_.controls[i].kind == design::Kind::TextBox;
      own[i].setColor(group, field ? QPalette::Text : QPalette::WindowText, FromBgr(colours.text[i].colour));
    }
  }
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (active.text[i].own) controls_[i]->setPalette(own[i]);
    if (auto* picture = dynamic_cast<PictureBox*>(controls_[i])) {
      picture->setColours(FromBgr(active.table.ink), FromBgr(active.table.paper));
    }
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
