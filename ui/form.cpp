#include "form.h"

#include <stdexcept>
#include <string>

#include "program.h"

namespace dosat {

Form::Form(Program& program, const design::Window& design) : program_(program), design_(design) {}

Form::~Form() = default;

void Form::Load() {
  if (native_ || program_.hasEnded()) return;
  native_ = program_.platform().MakeWindow(design_, *this);
  Form_Load();
}

void Form::Show() {
  Load();
  if (native_) native_->Show();
}

void Form::Hide() {
  if (native_) native_->Hide();
}

void Form::Unload() {
  if (!native_ || unloading_) return;
  unloading_ = true;
  // Once the program has ended no handler runs; the window still goes.
  if (!program_.hasEnded()) Form_Unload();
  native_.reset();
  unloading_ = false;
}

void Form::Move(float left, float top) {
  if (native_) native_->Move(left, top);
}

float Form::Width() const { return native_ ? native_->OuterWidth() : 0.0f; }
float Form::Height() const { return native_ ? native_->OuterHeight() : 0.0f; }

void Form::CentreOnScreen() {
  // Read in this order and worked in single precision, so that a window larger
  // than the screen gets a negative left or top and sits partly off screen.
  const Platform& platform = program_.platform();
  const float screenWidth = platform.ScreenWidth();
  const float width = Width();
  const float screenHeight = platform.ScreenHeight();
  const float height = Height();
  const float top = (screenHeight - height) / 2;
  const float left = (screenWidth - width) / 2;
  Move(left, top);
}

void Form::Clicked(std::size_t control) {
  if (!program_.hasEnded()) Click(control);
}

Control::Control(Form& form, std::string_view name)
    : form_(form), index_(form.design().find(name)) {
  if (index_ == form.design().controls.size()) {
    throw std::logic_error("no control " + std::string(name) + " in " +
                           std::string(form.design().className));
  }
}

std::string Control::Text() const {
  const NativeWindow* native = form_.native();
  return native ? native->Text(index_) : std::string();
}

void Control::SetText(std::string_view text) const {
  if (NativeWindow* native = form_.native()) native->SetText(index_, text);
}

void Control::SetFocus(bool selectAll) const {
  if (NativeWindow* native = form_.native()) native->Focus(index_, selectAll);
}

}  // namespace dosat
