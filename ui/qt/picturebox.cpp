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

void PictureBox::setPictureForRatio(std::function<QImage(qreal ratio)> draw) {
  drawForRatio_ = std::move(draw);
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
  painter.drawImage(contentsRect().topLeft(), shownPicture(devicePixelRatioF()));
}

// A picture of the box's own size, scaled by the device, would come out blurred at 1.5
// and blocky at 2; at 1 the picture itself is exact.
const QImage& PictureBox::shownPicture(qreal device) {
  const qreal ratio = device * scale_;
  if (ratio == 1.0 || !drawForRatio_) return picture_;
  if (ratio != drawnRatio_ || device != drawnDevice_) {
    drawn_ = drawForRatio_(ratio);
    // Drawn for `ratio` device pixels per picture pixel, shown one to one on the device's.
    if (!drawn_.isNull()) drawn_.setDevicePixelRatio(device);
    drawnRatio_ = ratio;
    drawnDevice_ = device;
  }
  return drawn_.isNull() ? picture_ : drawn_;
}

}  // namespace dosat
