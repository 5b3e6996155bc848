#include "form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "program.h"
#include "twips.h"

namespace dosat {
namespace {

// The top-level widget of a Form: closing it unloads the Form.
class FormWindow : public QWidget {
 public:
  explicit FormWindow(Form& form) : form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    form_.Unload();
    event->accept();
  }

 private:
  Form& form_;
};

QRect ScreenGeometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect();
}

}  // namespace

Form::Form(Program& program, QString caption, int clientWidthTwips, int clientHeightTwips)
    : program_(program),
      caption_(std::move(caption)),
      clientWidthTwips_(clientWidthTwips),
      clientHeightTwips_(clientHeightTwips) {}

Form::~Form() {
  delete window_;
  delete dying_.data();
}

void Form::Load() {
  if (window_ || program_.hasEnded()) return;
  window_ = new FormWindow(*this);
  window_->setWindowTitle(caption_);
  window_->resize(twips::toPixels(clientWidthTwips_), twips::toPixels(clientHeightTwips_));
  createControls(window_);
  // The native window is made now, so that the outer size the load handler
  // reads includes the frame wherever the platform knows it before showing.
  window_->winId();
  Form_Load();
}

void Form::Show() {
  Load();
  if (window_) window_->show();
}

void Form::Hide() {
  if (window_) window_->hide();
}

void Form::Unload() {
  if (!window_ || unloading_) return;
  unloading_ = true;
  // Once the program has ended no handler runs; the window still goes.
  if (!program_.hasEnded()) Form_Unload();
  window_->hide();
  delete dying_.data();
  dying_ = window_;
  dying_->deleteLater();
  window_ = nullptr;
  unloading_ = false;
}

void Form::Move(float left, float top) {
  if (window_) window_->move(twips::toPixels(left), twips::toPixels(top));
}

float Form::Width() const {
  return window_ ? twips::fromPixels(window_->frameGeometry().width()) : 0.0f;
}

float Form::Height() const {
  return window_ ? twips::fromPixels(window_->frameGeometry().height()) : 0.0f;
}

void Form::centreOnScreen() {
  // Read in this order and worked in single precision, so that a window larger
  // than the screen gets a negative left or top and sits partly off screen.
  const float screenWidth = ScreenWidth();
  const float width = Width();
  const float screenHeight = ScreenHeight();
  const float height = Height();
  const float top = (screenHeight - height) / 2;
  const float left = (screenWidth - width) / 2;
  Move(left, top);
}

float ScreenWidth() { return twips::fromPixels(ScreenGeometry().width()); }
float ScreenHeight() { return twips::fromPixels(ScreenGeometry().height()); }

}  // namespace dosat
