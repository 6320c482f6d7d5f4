#include "engine/Clock.h"

#include <QDateTime>
#include <QTimer>

double systemClock()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

void systemSingleShot(std::chrono::milliseconds delay, QObject *context, std::function<void()> fire)
{
    QTimer::singleShot(delay, Qt::PreciseTimer, context, std::move(fire));
}
