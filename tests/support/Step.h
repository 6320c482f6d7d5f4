#pragma once

#include <QTest>

// Runs a helper that checks as it goes, and ends the test function when it failed.
#define STEP(call)                                                                                                     \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)
