#pragma once

#include <QFrame>
#include <QImage>

namespace dosat {

/// A picture in a sunken frame two pixels wide, drawn at its own size from
/// the top-left corner of the frame's interior and cut off at its edges.
class PictureBox : public QFrame {
 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void setPicture(const QImage& picture);
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace dosat
