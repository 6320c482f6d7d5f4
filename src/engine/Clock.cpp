#include "engine/Clock.h"

#include <QDateTime>

double systemClock()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}
