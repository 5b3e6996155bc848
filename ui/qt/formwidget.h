#pragma once

#include <QCloseEvent>
#include <QMargins>
#include <QMetaObject>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QSize>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <vector>

#include "platform.h"

namespace dosat::qt {

// The top-level widget of a loaded form: the user's closing it unloads the form.
class FormWidget : public QWidget {
 public:
  explicit FormWidget(WindowEvents& events) : events_(&events) {}

  /// `changed` runs after each change of the window's palette or of the desktop's
  /// theme, once the controls have theirs.
  void onPaletteChange(std::function<void()> changed) { paletteChanged_ = std::move(changed); }
  void detach() {
    events_ = nullptr;
    paletteChanged_ = nullptr;
  }
  bool closing() const { return closing_; }

  /// The client area's size as laid out, device-independent pixels.
  void layOut(QSize size) {
    laidOut_ = size;
    insisted_ = false;
    resize(size);
  }
  QSize laidOut() const { return laidOut_; }

  /// Tells the form when the window goes to another screen, or its screen's size, work
  /// area or resolution changes: once for a burst of them, after Qt has handled them.
  /// Also when the window manager's frame turns out other than it said before the window
  /// was shown, or the manager makes the window smaller than laid out: mutter 48 answers
  /// a frame of nothing, frames the window with a title bar, and then cuts the client
  /// area short to keep the frame in the work area.
  void watchScreens() {
    QWindow* window = windowHandle();
    QObject::connect(window, &QWindow::screenChanged, this, [this](QScreen* screen) {
      watch(screen);
      screenChanged();
    });
    watch(window->screen());
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    closing_ = true;
    if (events_) events_->CloseRequested();
    event->accept();
  }
  // Qt tells the window of a new palette before it resolves its controls' palettes:
  // their backgrounds are read once it has, in one go for a burst of changes, and
  // before the window is drawn again. Hidden windows hear of it too.
  void changeEvent(QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::PaletteChange || type == QEvent::ThemeChange) && !recolouring_) {
      recolouring_ = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            recolouring_ = false;
            if (paletteChanged_) paletteChanged_();
          },
          Qt::QueuedConnection);
    }
    QWidget::changeEvent(event);
  }
  // A style or platform theme may give a kind of control a palette of its own when it is
  // polished, just before the window is first shown (Qt 6.8's GTK theme gives line
  // edits another base than the window's): the controls' backgrounds are read again then.
  void showEvent(QShowEvent* event) override {
    if (paletteChanged_) paletteChanged_();
    QWidget::showEvent(event);
  }
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    if (event->spontaneous()) frameMayHaveChanged();
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (event->spontaneous()) frameMayHaveChanged();
  }

 private:
  void watch(QScreen* screen) {
    for (const QMetaObject::Connection& c : screenConnections_) QObject::disconnect(c);
    screenConnections_.clear();
    if (!screen) return;
    const auto changed = [this] { screenChanged(); };
    screenConnections_ = {QObject::connect(screen, &QScreen::geometryChanged, this, changed),
                          QObject::connect(screen, &QScreen::availableGeometryChanged, this, changed),
                          QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, this, changed)};
  }
  void frameMayHaveChanged() {
    const QRect outer = frameGeometry(), client = geometry();
    const QMargins frame(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
                         outer.bottom() - client.bottom());
    if (frame == frameSeen_ && size() == laidOut_) return;
    frameSeen_ = frame;
    if (isVisible()) screenChanged();
  }
  void screenChanged() {
    if (refitting_) return;
    refitting_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          refitting_ = false;
          if (events_) events_->ScreenChanged();
          // A size the window manager chose (openbox may map the window at the size it
          // had before it was laid out) is asked back once, not fought over.
          if (isVisible() && size() != laidOut_ && !insisted_) {
            insisted_ = true;
            resize(laidOut_);
          }
        },
        Qt::QueuedConnection);
  }

  WindowEvents* events_;
  std::function<void()> paletteChanged_;
  bool recolouring_ = false;
  bool closing_ = false;
  bool refitting_ = false;
  std::vector<QMetaObject::Connection> screenConnections_;
  QSize laidOut_;
  bool insisted_ = false;
  QMargins frameSeen_;
};

}  // namespace dosat::qt
