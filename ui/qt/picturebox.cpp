#include "picturebox.h"

#include <QPainter>

namespace dosat {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void PictureBox::setPictureForRatio(std::function<QImage(qreal ratio, QColor ink, QColor paper)> draw) {
  drawForRatio_ = std::move(draw);
  drawn_ = QImage();
  drawnRatio_ = 0;
  update();
}

void PictureBox::setColours(QColor ink, QColor paper) {
  if (ink == ink_ && paper == paper_) return;
  ink_ = ink;
  paper_ = paper;
  drawn_ = QImage();
  drawnRatio_ = 0;
  update();
}

void PictureBox::setScale(qreal scale) {
  if (scale == scale_) return;
  scale_ = scale;
  update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setClipRect(contentsRect());
  painter.fillRect(contentsRect(), paper_);
  painter.drawImage(contentsRect().topLeft(), shownPicture(devicePixelRatioF()));
}

// A picture of the box's own size, scaled by the device, would come out blurred at 1.5
// and blocky at 2; at 1 the picture itself is exact.
const QImage& PictureBox::shownPicture(qreal device) {
  const qreal ratio = device * scale_;
  const bool printed = ink_ == QColor(Qt::black) && paper_ == QColor(Qt::white);
  if ((ratio == 1.0 && printed) || !drawForRatio_) return picture_;
  if (ratio != drawnRatio_ || device != drawnDevice_) {
    drawn_ = drawForRatio_(ratio, ink_, paper_);
    // Drawn for `ratio` device pixels per picture pixel, shown one to one on the device's.
    if (!drawn_.isNull()) drawn_.setDevicePixelRatio(device);
    drawnRatio_ = ratio;
    drawnDevice_ = device;
  }
  return drawn_.isNull() ? picture_ : drawn_;
}

}  // namespace dosat
