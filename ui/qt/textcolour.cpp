#include "textcolour.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

#include "colour.h"
#include "design.h"

namespace dosat {

QColor FromBgr(std::uint32_t bgr) {
  const colour::Rgb rgb = colour::FromBgr(bgr);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

std::uint32_t ToBgr(const QColor& colour) {
  const QRgb rgb = colour.rgb();
  return colour::ToBgr({static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                        static_cast<std::uint8_t>(qBlue(rgb))});
}

// High contrast as the Linux desktop sets it: the Adwaita high-contrast styles
// (Adwaita-HighContrast, Adwaita-HighContrastInverse), or GTK's HighContrast themes,
// which GNOME's high-contrast setting chooses and Qt's GTK platform theme follows.
bool HighContrastDesktop() {
  const QStyle* style = QApplication::style();
  if (style && style->name().contains(QStringLiteral("highcontrast"), Qt::CaseInsensitive)) return true;
  const QString gtkTheme = qEnvironmentVariable("GTK_THEME").section(QLatin1Char(':'), 0, 0);
  return gtkTheme.startsWith(QStringLiteral("HighContrast"), Qt::CaseInsensitive);
}

// Qt's default is Fusion's standard palette in its light form. A platform theme can
// turn that same standard palette dark (Qt's GTK theme does for a dark GTK theme),
// bring a palette of its own (KDE, qt6ct), or the user can pick another style: none of
// them is the palette the windows were designed on. Asked anew each time, since the
// theme's light or dark can change while the program runs.
contrast::Palette ApplicationPaletteKind() {
  if (HighContrastDesktop()) return contrast::Palette::HighContrast;
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  if (!fusion) return contrast::Palette::Other;
  const QPalette standard = fusion->standardPalette();
  const bool light = contrast::Luminance(ToBgr(standard.color(QPalette::Window))) >
                     contrast::Luminance(ToBgr(standard.color(QPalette::WindowText)));
  return light && QApplication::palette() == standard ? contrast::Palette::Designed
                                                      : contrast::Palette::Other;
}

void ApplyTextColour(QWidget& control, const design::Control& row, contrast::Palette palette) {
  const QPalette::ColorRole textRole =
      row.kind == design::Kind::TextBox ? QPalette::Text : QPalette::WindowText;
  // The control's own text colour is the one being set: the desktop's is its window's.
  const QPalette system = control.parentWidget()->palette();
  QPalette own = control.palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const contrast::Desktop desktop{ToBgr(own.color(group, QPalette::Window)),
                                    ToBgr(system.color(group, QPalette::WindowText)),
                                    ToBgr(own.color(group, QPalette::Base)),
                                    ToBgr(system.color(group, QPalette::Text)), palette};
    own.setColor(group, textRole, FromBgr(contrast::ControlTextColour(row, desktop)));
  }
  control.setPalette(own);
}

}  // namespace dosat
