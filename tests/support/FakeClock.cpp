#include "support/FakeClock.h"

#include <algorithm>

Clock FakeClock::function()
{
    return [this] { return now; };
}

SingleShot FakeClock::singleShot()
{
    return [this](std::chrono::milliseconds delay, QObject *context, std::function<void()> fire) {
        const double due = now + std::chrono::duration<double>(delay).count();
        const auto later = std::upper_bound(m_timers.begin(), m_timers.end(), due,
                                            [](double at, const Timer &timer) { return at < timer.due; });
        m_timers.insert(later, {due, context, std::move(fire)});
    };
}

void FakeClock::advance(double seconds)
{
    const double until = now + seconds;
    while (!m_timers.empty() && m_timers.front().due <= until + 1e-9) {
        Timer timer = std::move(m_timers.front());
        m_timers.erase(m_timers.begin());
        now = std::max(now, timer.due);
        if (timer.context)
            timer.fire();
    }
    now = until;
}
