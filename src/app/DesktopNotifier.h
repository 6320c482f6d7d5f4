#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Desktop notifications under the app's name, through the notification service on the
// session bus (org.freedesktop.Notifications).
class DesktopNotifier
{
public:
    // Sends and forgets.
    static void notify(const QString &summary, const QString &body);
    // `unanswered` runs, within `context`, when no notification service answers soon, so
    // that the person can be told another way.
    static void notify(const QString &summary, const QString &body, QObject *context, std::function<void()> unanswered);
};
