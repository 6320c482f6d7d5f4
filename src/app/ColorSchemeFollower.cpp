#include "app/ColorSchemeFollower.h"

#include "store/SettingsKeys.h"
#include "ui/Palette.h"

#include <QApplication>
#include <QStyle>

ColorSchemeFollower::ColorSchemeFollower(QSettings &settings, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_desktopPalette(QApplication::palette())
{
    apply(savedScheme());
}

DesktopSettings::ColorScheme ColorSchemeFollower::savedScheme() const
{
    const int scheme = m_settings.value(SettingsKeys::desktopColorScheme).toInt();
    return scheme >= 0 && scheme <= 2 ? DesktopSettings::ColorScheme(scheme)
                                      : DesktopSettings::ColorScheme::NoPreference;
}

void ColorSchemeFollower::desktopSchemeChanged(DesktopSettings::ColorScheme scheme)
{
    apply(scheme);
    m_settings.setValue(SettingsKeys::desktopColorScheme, int(scheme));
    m_settings.sync();
}

void ColorSchemeFollower::apply(DesktopSettings::ColorScheme scheme)
{
    const bool styleDark = Palette::isDark(m_desktopPalette);
    bool dark = styleDark;
    if (scheme != DesktopSettings::ColorScheme::NoPreference)
        dark = scheme == DesktopSettings::ColorScheme::Dark;
    if (dark == styleDark)
        QApplication::setPalette(m_desktopPalette);
    else
        QApplication::setPalette(dark ? Palette::darkScheme() : QApplication::style()->standardPalette());
    if (std::exchange(m_dark, dark) != dark)
        Q_EMIT darkChanged(dark);
}
