#include "textcolour.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

namespace dosat {

QColor FromBgr(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

std::uint32_t ToBgr(const QColor& colour) {
  const QRgb rgb = colour.rgb();
  return static_cast<std::uint32_t>(qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16);
}

// Qt's default is Fusion's standard palette in its light form. A platform theme can
// turn that same standard palette dark (Qt's GTK theme does for a dark GTK theme),
// bring a palette of its own (KDE, qt6ct), or the user can pick another style: none of
// them is the palette the windows were designed on. Asked anew each time, since the
// theme's light or dark can change while the program runs.
contrast::Palette ApplicationPaletteKind() {
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  if (!fusion) return contrast::Palette::Other;
  const QPalette standard = fusion->standardPalette();
  const bool light = contrast::Luminance(ToBgr(standard.color(QPalette::Window))) >
                     contrast::Luminance(ToBgr(standard.color(QPalette::WindowText)));
  return light && QApplication::palette() == standard ? contrast::Palette::Designed
                                                      : contrast::Palette::Other;
}

void ApplyTextColour(QWidget& control, std::uint32_t designed, contrast::Palette palette) {
  const bool box = qobject_cast<QLineEdit*>(&control) != nullptr;
  const QPalette::ColorRole textRole = box ? QPalette::Text : QPalette::WindowText;
  const QPalette::ColorRole backgroundRole = box ? QPalette::Base : QPalette::Window;
  // The control's own text colour is the one being set: the desktop's is its window's.
  const QPalette system = control.parentWidget()->palette();
  QPalette own = control.palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const std::uint32_t colour =
        contrast::TextColour(designed, ToBgr(own.color(group, backgroundRole)),
                             ToBgr(system.color(group, textRole)), palette);
    own.setColor(group, textRole, FromBgr(colour));
  }
  control.setPalette(own);
}

}  // namespace dosat
