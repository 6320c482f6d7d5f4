#include "app/DesktopNotifier.h"

#include "engine/Logging.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

using namespace Qt::Literals::StringLiterals;

namespace {

// The answer only decides how to tell the person: a service that does not answer soon counts
// as none.
constexpr int answerTimeoutMs = 1000;

QDBusMessage notification(const QString &summary, const QString &body)
{
    QDBusMessage notify =
        QDBusMessage::createMethodCall(u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
                                       u"org.freedesktop.Notifications"_s, u"Notify"_s);
    notify << QCoreApplication::translate("DesktopNotifier", "岚签") << 0u << u"org.corvane.Corvane"_s << summary
           << body << QStringList() << QVariantMap() << -1;
    return notify;
}

} // namespace

void DesktopNotifier::notify(const QString &summary, const QString &body)
{
    QDBusConnection::sessionBus().send(notification(summary, body));
}

void DesktopNotifier::notify(const QString &summary, const QString &body, QObject *context,
                             std::function<void()> unanswered)
{
    auto *watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(notification(summary, body), answerTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [unanswered = std::move(unanswered)](QDBusPendingCallWatcher *done) {
                         done->deleteLater();
                         if (!done->isError())
                             return;
                         qCInfo(lcApp) << "no notification service:" << done->error().name();
                         unanswered();
                     });
}
