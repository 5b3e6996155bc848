#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace dosat {

class Program;

/// One window of the program, with the operations its handlers use. The Form
/// object lives for the whole run; its QWidget and controls exist only while
/// it is loaded.
class Form : public QObject {
  Q_OBJECT

 public:
  Form(Program& program, QString caption, int clientWidthTwips, int clientHeightTwips);
  ~Form() override;

  bool isLoaded() const { return window_ != nullptr; }
  /// The window's widget while loaded, else null.
  QWidget* window() const { return window_; }

  /// Creates the window and its controls, then runs the load handler. Does
  /// nothing if loaded.
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

  /// Outer size of the window in twips.
  float Width() const;
  float Height() const;

 protected:
  Program& program() const { return program_; }
  /// Builds the controls on a freshly created window.
  virtual void createControls(QWidget* window) = 0;
  /// Runs when the window has been loaded, before it is first shown.
  virtual void Form_Load() = 0;
  /// Runs when the window is unloaded, by the user's closing it or by Unload.
  virtual void Form_Unload() = 0;

  /// Centres the window on the screen, in single precision from the window's
  /// outer size: the load handler of both windows.
  void centreOnScreen();

 private:
  Program& program_;
  QString caption_;
  int clientWidthTwips_;
  int clientHeightTwips_;
  QWidget* window_ = nullptr;
  // An unloaded window whose deletion waits for the event loop, so that a
  // window closed by the user is not deleted inside its own close event.
  QPointer<QWidget> dying_;
  bool unloading_ = false;
};

/// The screen's size in twips.
float ScreenWidth();
float ScreenHeight();

}  // namespace dosat
