#pragma once

#include <QLoggingCategory>

// One logging category per layer; warnings are on by default. A log line names accounts
// by id and carries error messages, never a secret, a code or a stored document.
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcKeychain)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
// The moments the start-up benchmark times (first paint, first codes); off by default.
Q_DECLARE_LOGGING_CATEGORY(lcStartup)
