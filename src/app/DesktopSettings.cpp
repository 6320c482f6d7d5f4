#include "app/DesktopSettings.h"

#include "engine/Logging.h"
#include "ui/DesktopPortal.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString settingsInterface = u"org.freedesktop.portal.Settings"_s;

const QString appearanceGroup = u"org.freedesktop.appearance"_s;
const QString colorSchemeKey = u"color-scheme"_s;
// GNOME's switch, and KDE's animation speed factor (0 means no animations).
const QString gnomeInterfaceGroup = u"org.gnome.desktop.interface"_s;
const QString gnomeAnimationsKey = u"enable-animations"_s;
const QString kdeGlobalsGroup = u"org.kde.kdeglobals.KDE"_s;
const QString kdeAnimationFactorKey = u"AnimationDurationFactor"_s;

// Read answers a variant inside a variant; SettingChanged sends a single one.
QVariant unwrapped(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

DesktopSettings::DesktopSettings(QDBusConnection bus, ColorScheme assumed, QObject *parent)
    : QObject(parent),
      m_bus(std::move(bus)),
      m_colorScheme(assumed)
{
    // QtDBus connects bus signals by slot signature only, and finds the slot's argument
    // types by name, so QDBusVariant must be known before.
    qRegisterMetaType<QDBusVariant>();
    if (!m_bus.connect(DesktopPortal::service, DesktopPortal::path, settingsInterface, u"SettingChanged"_s, this,
                       SLOT(onSettingChanged(QString, QString, QDBusVariant))))
        qCWarning(lcApp) << "cannot follow the desktop's settings:" << m_bus.lastError().message();
    read(appearanceGroup, colorSchemeKey);
    read(gnomeInterfaceGroup, gnomeAnimationsKey);
    read(kdeGlobalsGroup, kdeAnimationFactorKey);
}

void DesktopSettings::read(const QString &group, const QString &key)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(DesktopPortal::service, DesktopPortal::path, settingsInterface, u"Read"_s);
    call << group << key;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, group, key](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *done;
        // A portal without this setting answers with an error; that is no preference.
        if (reply.isError()) {
            qCDebug(lcApp) << "desktop setting" << group << key << "unavailable:" << reply.error().name();
            if (group == appearanceGroup)
                apply(group, key, 0u);
        } else {
            apply(group, key, unwrapped(reply.value().variant()));
        }
    });
}

void DesktopSettings::onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    apply(group, key, unwrapped(value.variant()));
}

void DesktopSettings::apply(const QString &group, const QString &key, const QVariant &value)
{
    if (group == appearanceGroup && key == colorSchemeKey) {
        const uint number = value.toUInt();
        const ColorScheme scheme = number <= 2 ? ColorScheme(number) : ColorScheme::NoPreference;
        if (scheme != m_colorScheme) {
            m_colorScheme = scheme;
            Q_EMIT colorSchemeChanged(scheme);
        }
        return;
    }
    bool reduce;
    if (group == gnomeInterfaceGroup && key == gnomeAnimationsKey)
        reduce = !value.toBool();
    else if (group == kdeGlobalsGroup && key == kdeAnimationFactorKey)
        reduce = value.toDouble() == 0;
    else
        return;
    if (reduce != m_reduceMotion) {
        m_reduceMotion = reduce;
        Q_EMIT reduceMotionChanged(reduce);
    }
}
