#pragma once

#include <chrono>
#include <functional>

class QObject;

// Wall time in seconds since the Unix epoch, fraction included. Everything that reads the
// time takes one, so tests can set the time by hand.
using Clock = std::function<double()>;

// Calls `fire` once, `delay` from now, unless `context` is destroyed first. Everything
// that waits takes one, so tests can run the waits along with their clock.
using SingleShot = std::function<void(std::chrono::milliseconds delay, QObject *context, std::function<void()> fire)>;

// The system's wall clock.
double systemClock();
// The event loop's precise timer.
void systemSingleShot(std::chrono::milliseconds delay, QObject *context, std::function<void()> fire);
