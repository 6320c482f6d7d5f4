#pragma once

#include "app/CodeTyper.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QUuid>

class KeychainStore;

// Types codes on Wayland through the XDG desktop portal's RemoteDesktop: a session with the
// keyboard only (no screen is shared), asked for once and then restored with the token the
// portal gave (persist mode 2, until revoked). The token is a capability, so it is kept in the
// keychain as an item of its own. Each character is sent as its keysym; the compositor finds
// the key for the layout in use.
class PortalCodeTyper : public CodeTyper
{
    Q_OBJECT

public:
    // The keychain item of the restore token: no account ever has it.
    static const QUuid tokenItemId;

    PortalCodeTyper(QDBusConnection bus, KeychainStore &keychain, QObject *parent = nullptr);

    QString unavailableReason() const override { return m_unavailable; }
    void type(const QString &code, std::function<void(bool typed)> done) override;

private Q_SLOTS:
    void sessionClosed();

private:
    struct Typing
    {
        QString code;
        std::function<void(bool)> done;
    };
    void askAvailability();
    void openSession();
    void selectKeyboard(const QString &restoreToken);
    void start();
    void started(const QVariantMap &results);
    void failAll();
    void typeNow(const Typing &typing);

    QDBusConnection m_bus;
    KeychainStore &m_keychain;
    QString m_unavailable;
    QDBusObjectPath m_session;
    bool m_ready = false;
    bool m_opening = false;
    QList<Typing> m_waiting;
};
