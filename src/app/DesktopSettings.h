#pragma once

#include <QDBusConnection>
#include <QDBusVariant>
#include <QObject>

// The desktop's appearance preferences as the XDG desktop portal publishes them: the
// colour scheme and whether animations are off. Read once at start, then followed live
// through the portal's change signal. Until the portal answers, the colour scheme is the
// one assumed at construction (the one seen last time); a portal without the setting
// means no preference. Without a portal nothing is announced.
class DesktopSettings : public QObject
{
    Q_OBJECT

public:
    // The portal's own values for org.freedesktop.appearance color-scheme.
    enum class ColorScheme { NoPreference = 0, Dark = 1, Light = 2 };

    explicit DesktopSettings(QDBusConnection bus = QDBusConnection::sessionBus(),
                             ColorScheme assumed = ColorScheme::NoPreference, QObject *parent = nullptr);

    ColorScheme colorScheme() const { return m_colorScheme; }
    bool reduceMotion() const { return m_reduceMotion; }

Q_SIGNALS:
    void colorSchemeChanged(DesktopSettings::ColorScheme scheme);
    void reduceMotionChanged(bool reduceMotion);

private Q_SLOTS:
    void onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void read(const QString &group, const QString &key);
    void apply(const QString &group, const QString &key, const QVariant &value);

    QDBusConnection m_bus;
    ColorScheme m_colorScheme = ColorScheme::NoPreference;
    bool m_reduceMotion = false;
};
