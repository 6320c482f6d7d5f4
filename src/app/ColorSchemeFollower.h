#pragma once

#include "app/DesktopSettings.h"

#include <QObject>
#include <QPalette>
#include <QSettings>

// The application's palette after the desktop's colour scheme. The scheme the desktop
// stated wins over the style's palette; without one the style's palette stands, and the
// widgets judge it by its lightness. Until the desktop answers, the scheme it stated last
// time is applied, so that the first frame already has the right colours.
class ColorSchemeFollower : public QObject
{
    Q_OBJECT

public:
    // Applies the saved scheme at once.
    explicit ColorSchemeFollower(QSettings &settings, QObject *parent = nullptr);

    // The scheme the desktop stated last time.
    DesktopSettings::ColorScheme savedScheme() const;
    bool isDark() const { return m_dark; }
    // The desktop answered, at start or on a change: follows it and remembers it for the
    // next start.
    void desktopSchemeChanged(DesktopSettings::ColorScheme scheme);

Q_SIGNALS:
    void darkChanged(bool dark);

private:
    void apply(DesktopSettings::ColorScheme scheme);

    QSettings &m_settings;
    // The palette the desktop's own style gave, used while it states no preference.
    QPalette m_desktopPalette;
    bool m_dark = false;
};
