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

contrast::Desktop DesktopColours(QPalette::ColorGroup group, const QPalette& fields, contrast::Palette palette) {
  const QPalette desktop = QApplication::palette();
  return {ToBgr(desktop.color(group, QPalette::Window)), ToBgr(desktop.color(group, QPalette::WindowText)),
          ToBgr(fields.color(group, QPalette::Base)), ToBgr(desktop.color(group, QPalette::Text)), palette};
}

}  // namespace dosat
