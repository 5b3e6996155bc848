#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "design.h"
#include "platform.h"

namespace dosat {

class Program;

/// One window of the program, with the operations its handlers use. The Form
/// lives for the whole run; its native window and controls exist only while
/// it is loaded.
class Form : private WindowEvents {
 public:
  Form(Program& program, const design::Window& design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const design::Window& design() const { return design_; }
  bool IsLoaded() const { return native_ != nullptr; }
  /// The window while loaded, else null.
  NativeWindow* native() const { return native_.get(); }

  /// Creates the window and its controls, then runs the load handler. Does
  /// nothing if loaded, or once the program has ended.
  void Load();
  /// Loads the window if needed, then shows it, modeless and without owner.
  void Show();
  /// Makes the window invisible; it stays loaded, its controls intact.
  void Hide();
  /// Runs the close handler, then destroys the window and its controls. Does
  /// nothing to a window that is not loaded, or that is already unloading.
  void Unload();
  /// Places the outer frame's top-left corner on the screen, in twips.
  void Move(float left, float top);
  /// Outer size of the window in twips; 0 while not loaded.
  float Width() const;
  float Height() const;
  /// The scale the window is laid out at: 1 at the desktop's own, less where it was made
  /// smaller to fit its monitor's work area.
  float Scale() const { return scale_; }

 protected:
  Program& program() const { return program_; }
  /// Runs when the window has been loaded, before it is first shown.
  virtual void Form_Load() = 0;
  /// Runs when the window is unloaded, by the user's closing it or by Unload.
  virtual void Form_Unload() = 0;
  /// Runs when the push button in row `control` is pressed.
  virtual void Click(std::size_t control) = 0;

  /// Centres the window on the screen, in single precision from the window's
  /// outer size: the load handler of both windows. Where its frame would then not lie
  /// wholly in the work area, it is centred there, and made smaller where it must be.
  void CentreOnScreen();

 private:
  void Clicked(std::size_t control) override;
  void CloseRequested() override { Unload(); }
  /// Fits the window again to the monitor it now stands on, at the largest scale up to
  /// the desktop's own, moved no more than it must.
  void ScreenChanged() override;

  /// The window as it is laid out now.
  placement::Window Layout() const;
  /// Lays the window out at the largest scale that fits `monitor`, then centres it in the
  /// work area or keeps it where it is as far as it fits.
  void FitInto(const placement::Monitor& monitor, bool centre);

  Program& program_;
  const design::Window& design_;
  std::unique_ptr<NativeWindow> native_;
  bool unloading_ = false;
  float scale_ = 1;
};

/// A control of a form, by its designed name: what the handlers read and set.
class Control {
 public:
  Control(Form& form, std::string_view name);

  std::size_t index() const { return index_; }
  const Form& form() const { return form_; }
  /// The control's text; empty while its window is not loaded.
  std::string Text() const;
  void SetText(std::string_view text) const;
  void SetFocus(bool selectAll = false) const;

 private:
  Form& form_;
  std::size_t index_;
};

}  // namespace dosat
