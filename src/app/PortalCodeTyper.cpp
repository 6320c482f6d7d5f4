#include "app/PortalCodeTyper.h"

#include "engine/Logging.h"
#include "store/KeychainStore.h"
#include "ui/DesktopPortal.h"
#include "ui/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString remoteDesktop = u"org.freedesktop.portal.RemoteDesktop"_s;
constexpr uint keyboardDevice = 1;
constexpr uint persistUntilRevoked = 2;

} // namespace

const QUuid PortalCodeTyper::tokenItemId = QUuid(u"5E0C0DE5-7A9E-4C0D-9E57-C0DE7E0CE2E5"_s);

PortalCodeTyper::PortalCodeTyper(QDBusConnection bus, KeychainStore &keychain, QObject *parent)
    : CodeTyper(parent),
      m_bus(std::move(bus)),
      m_keychain(keychain)
{
    askAvailability();
}

void PortalCodeTyper::askAvailability()
{
    QDBusMessage get = QDBusMessage::createMethodCall(DesktopPortal::service, DesktopPortal::path,
                                                      u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << remoteDesktop << u"AvailableDeviceTypes"_s;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        const QDBusMessage reply = done->reply();
        const uint types = reply.arguments().value(0).value<QDBusVariant>().variant().toUInt();
        if (done->isError() || !(types & keyboardDevice))
            m_unavailable = tr("桌面门户不提供键盘输入");
    });
}

void PortalCodeTyper::type(const QString &code, std::function<void(bool typed)> done)
{
    if (!m_unavailable.isEmpty()) {
        done(false);
        return;
    }
    if (m_ready) {
        typeNow({code, std::move(done)});
        return;
    }
    m_waiting.append({code, std::move(done)});
    if (!std::exchange(m_opening, true))
        openSession();
}

void PortalCodeTyper::openSession()
{
    const QVariantMap options{{u"session_handle_token"_s, u"corvane_keys"_s}};
    connect(PortalRequest::send(m_bus, remoteDesktop, u"CreateSession"_s, {}, options, this), &PortalRequest::answered,
            this, [this](uint response, const QVariantMap &results) {
                m_session = QDBusObjectPath(results.value(u"session_handle"_s).toString());
                if (response != PortalRequest::Success || m_session.path().isEmpty()) {
                    failAll();
                    return;
                }
                m_bus.connect(DesktopPortal::service, m_session.path(), u"org.freedesktop.portal.Session"_s,
                              u"Closed"_s, this, SLOT(sessionClosed()));
                m_keychain.read({tokenItemId}, [this](const KeychainStore::ReadResult &read) {
                    selectKeyboard(read ? read->value(tokenItemId) : QString());
                });
            });
}

void PortalCodeTyper::selectKeyboard(const QString &restoreToken)
{
    QVariantMap options{{u"types"_s, keyboardDevice}, {u"persist_mode"_s, persistUntilRevoked}};
    if (!restoreToken.isEmpty())
        options.insert(u"restore_token"_s, restoreToken);
    const QList<QVariant> session{QVariant::fromValue(m_session)};
    connect(PortalRequest::send(m_bus, remoteDesktop, u"SelectDevices"_s, session, options, this),
            &PortalRequest::answered, this, [this](uint response, const QVariantMap &) {
                if (response == PortalRequest::Success)
                    start();
                else
                    failAll();
            });
}

void PortalCodeTyper::start()
{
    const QList<QVariant> arguments{QVariant::fromValue(m_session), QString()};
    connect(PortalRequest::send(m_bus, remoteDesktop, u"Start"_s, arguments, {}, this), &PortalRequest::answered, this,
            [this](uint response, const QVariantMap &results) {
                if (response == PortalRequest::Success && (results.value(u"devices"_s).toUInt() & keyboardDevice))
                    started(results);
                else
                    failAll();
            });
}

// A new token replaces the one used: each is good for one restore.
void PortalCodeTyper::started(const QVariantMap &results)
{
    const QString token = results.value(u"restore_token"_s).toString();
    if (!token.isEmpty())
        m_keychain.save(token, tokenItemId, [](const KeychainStore::SaveResult &saved) {
            if (!saved)
                qCWarning(lcApp) << "the keyboard's restore token was not kept";
        });
    m_ready = true;
    m_opening = false;
    for (const Typing &typing : std::exchange(m_waiting, {}))
        typeNow(typing);
}

void PortalCodeTyper::typeNow(const Typing &typing)
{
    for (QChar c : typing.code) {
        for (uint state : {1u, 0u}) {
            QDBusMessage key = QDBusMessage::createMethodCall(DesktopPortal::service, DesktopPortal::path,
                                                              remoteDesktop, u"NotifyKeyboardKeysym"_s);
            key << QVariant::fromValue(m_session) << QVariantMap() << int(c.unicode()) << state;
            m_bus.asyncCall(key);
        }
    }
    typing.done(true);
}

void PortalCodeTyper::failAll()
{
    qCInfo(lcApp) << "the desktop portal gave no keyboard";
    m_opening = false;
    m_ready = false;
    for (const Typing &typing : std::exchange(m_waiting, {}))
        typing.done(false);
}

void PortalCodeTyper::sessionClosed()
{
    m_ready = false;
    m_session = {};
}
