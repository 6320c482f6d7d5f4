#pragma once

#include "app/RunnerTypes.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>

class CodesOnBus;

// org.kde.krunner1: KRunner finds accounts as the Shell's search does, best fits first. Run
// copies the code as a result of the Shell's does; its action "type" types it into the
// window KRunner gives the keyboard back to, where typing is possible.
class RunnerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")

public:
    static inline const QString typeAction = QStringLiteral("type");

    RunnerAdaptor(QObject *object, CodesOnBus &codes);

public Q_SLOTS:
    QList<RunnerAction> Actions();
    QList<RunnerMatch> Match(const QString &query, const QDBusMessage &call);
    void Run(const QString &matchId, const QString &actionId);
    void Teardown() {}

private:
    QList<RunnerMatch> matches(const QString &query);

    CodesOnBus &m_codes;
};
