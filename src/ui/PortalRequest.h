#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

// One call to the XDG desktop portal whose answer comes later, as the Response signal of
// a request object that the portal names after our bus name and a token of ours; the
// signal is subscribed to before the call goes out, so no answer is missed. The object
// deletes itself once it has announced the answer.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    // The portal's response codes.
    enum Response : uint { Success = 0, Cancelled = 1, Failed = 2 };

    // Calls `method` of the portal's `interface` with `arguments` followed by `options`,
    // to which the request's token is added.
    static PortalRequest *send(QDBusConnection bus, const QString &interface, const QString &method,
                               QList<QVariant> arguments, QVariantMap options, QObject *parent);

Q_SIGNALS:
    // A call the portal refused or does not offer answers Failed with no results.
    void answered(uint response, const QVariantMap &results);

private Q_SLOTS:
    void onResponse(uint response, const QVariantMap &results);

private:
    explicit PortalRequest(QObject *parent);

    bool m_answered = false;
};
