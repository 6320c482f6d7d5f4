#pragma once

#include <QTest>

// Missing what it needs from its environment (a bus, a keyring, an X server), a test fails in
// CI and is skipped elsewhere.
#define CORVANE_REQUIRE(condition, why)                                                                                \
    if (!(condition))                                                                                                  \
    return qgetenv("CI") == "true" ? QTest::qFail(why, __FILE__, __LINE__) : QTest::qSkip(why, __FILE__, __LINE__)
