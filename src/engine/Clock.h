#pragma once

#include <functional>

// Wall time in seconds since the Unix epoch, fraction included. Everything that reads the
// time takes one, so tests can set the time by hand.
using Clock = std::function<double()>;

// The system's wall clock.
double systemClock();
