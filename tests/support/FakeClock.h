#pragma once

#include <functional>

// A clock the test sets by hand: seconds since the Unix epoch.
struct FakeClock
{
    double now = 0;

    std::function<double()> function()
    {
        return [this] { return now; };
    }
};
