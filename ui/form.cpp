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
  scale_ = 1;
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
  // Read in this order and worked in single precision, as designed. A screen's origin
  // other than (0, 0) is added last, which leaves the designed values where it is zero.
  const placement::Monitor monitor = program_.platform().PrimaryMonitor();
  const float screenWidth = monitor.screen.width;
  const float width = Width();
  const float screenHeight = monitor.screen.height;
  const float height = Height();
  const float top = (screenHeight - height) / 2;
  const float left = (screenWidth - width) / 2;
  // Where the frame so centred lies wholly in the work area, nothing changes. Elsewhere
  // (a taskbar under it, a screen smaller than the window) it would lose its title bar
  // or its buttons under a panel or off the screen.
  if (!native_ || placement::Fits(placement::FrameAt(Layout(), monitor.screen.left + left,
                                                     monitor.screen.top + top),
                                  monitor)) {
    Move(monitor.screen.left + left, monitor.screen.top + top);
    return;
  }
  FitInto(monitor, true);
}

void Form::ScreenChanged() {
  if (!native_ || program_.hasEnded()) return;
  const placement::Window now = Layout();
  const placement::Area frame = placement::FrameAt(now, native_->OuterLeft(), native_->OuterTop());
  FitInto(program_.platform().MonitorAt(frame.left + frame.width / 2, frame.top + frame.height / 2), false);
}

placement::Window Form::Layout() const {
  return {native_->OuterWidth(), native_->OuterHeight(), native_->ClientWidth(), native_->ClientHeight(),
          native_->FrameMargins(), scale_};
}

void Form::FitInto(const placement::Monitor& monitor, bool centre) {
  const float scale = centre ? placement::FitScale(Layout(), monitor) : placement::RefitScale(Layout(), monitor);
  if (scale != scale_) {
    native_->SetScale(scale);
    scale_ = scale;
  }
  // From the size laid out, whole pixels and all.
  const placement::Window now = Layout();
  float left = native_->OuterLeft(), top = native_->OuterTop();
  const float wasLeft = left, wasTop = top;
  if (centre) {
    placement::CentreIn(now, monitor.work, left, top);
  } else {
    placement::KeepIn(now, monitor.work, left, top);
  }
  if (centre || left != wasLeft || top != wasTop) Move(left, top);
}

void Form::Clicked(std::size_t control) {
  if (!program_.hasEnded()) Click(control);
}

Control::Control(Form& form, std::string_view name)
    : form_(form), index_(form.design().Find(name)) {
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
