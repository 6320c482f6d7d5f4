#pragma once

#include "engine/Clock.h"

#include <QObject>
#include <QPointer>

#include <vector>

// A clock the test sets by hand, in seconds since the Unix epoch, and the timers that run
// on it: they fire only as the test advances the clock.
struct FakeClock
{
    explicit FakeClock(double start = 0) : now(start) {}

    double now;

    Clock function();
    SingleShot singleShot();
    // Moves the clock on by `seconds`, firing in order the timers that fall due on the way.
    void advance(double seconds);

private:
    struct Timer
    {
        double due;
        QPointer<QObject> context;
        std::function<void()> fire;
    };
    std::vector<Timer> m_timers; // in the order they fall due
};
