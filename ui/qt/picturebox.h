#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>

#include <functional>

namespace dosat {

/// A picture in a sunken frame two pixels wide, drawn at its own size from
/// the top-left corner of the frame's interior and cut off at its edges.
class PictureBox : public QFrame {
 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void setPicture(const QImage& picture);
  const QImage& picture() const { return picture_; }

  /// At device pixel ratios other than 1, or in colours other than black on white, shows
  /// `draw(ratio, ink, paper)` instead of the picture: the same drawing made for that
  /// ratio, in device pixels, with its devicePixelRatio set. It is drawn on the first
  /// paint at a ratio and kept until the ratio or the colours change; a null image falls
  /// back to the picture.
  void setPictureForRatio(std::function<QImage(qreal ratio, QColor ink, QColor paper)> draw);

  /// The picture's ink and paper: black on white, as the picture itself is, by default.
  void setColours(QColor ink, QColor paper);

  /// Shows the picture at `scale` times its own size, in a window made smaller to fit
  /// its screen: through the drawing for the device pixel ratio times `scale`, never
  /// the picture stretched. 1 by default.
  void setScale(qreal scale);
  qreal scale() const { return scale_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  /// What to draw at device pixel ratio `device`: the picture, or the drawing made for
  /// that ratio times the scale, mapped onto the device's pixels.
  const QImage& shownPicture(qreal device);

  QImage picture_;
  std::function<QImage(qreal, QColor, QColor)> drawForRatio_;
  QColor ink_ = Qt::black, paper_ = Qt::white;
  qreal scale_ = 1;
  QImage drawn_;           // drawForRatio_(drawnRatio_), for the device ratio drawnDevice_
  qreal drawnRatio_ = 0;   // 0: nothing drawn yet
  qreal drawnDevice_ = 0;
};

}  // namespace dosat
