#pragma once

#include <cstdio>

// One line per figure, the same in every benchmark, so that scripts/bench can be read
// at a glance: the figure, its target and whether it is met.
inline bool reportFigure(const char *label, double value, const char *unit, double target)
{
    const bool met = value <= target;
    std::printf("%-44s %10.2f %-8s target <= %-8g %s\n", label, value, unit, target, met ? "met" : "NOT MET");
    std::fflush(stdout);
    return met;
}

// A figure without a target, shown against what it is compared with.
inline void reportInformation(const char *label, double value, const char *unit, const char *against)
{
    std::printf("%-44s %10.2f %-8s %s\n", label, value, unit, against);
    std::fflush(stdout);
}
