#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "form.h"
#include "picturebox.h"
#include "qtplatform.h"

// The Qt widgets behind the forms and controls the window tests drive.
inline QWidget* WindowOf(const dosat::Form& form) { return dosat::qt::Window(form); }
inline QLineEdit* Edit(const dosat::Control& c) { return dosat::qt::Widget<QLineEdit>(c); }
inline QPushButton* Button(const dosat::Control& c) { return dosat::qt::Widget<QPushButton>(c); }
inline dosat::PictureBox* Picture(const dosat::Control& c) {
  return static_cast<dosat::PictureBox*>(dosat::qt::WidgetOf(c));
}
