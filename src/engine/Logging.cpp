#include "engine/Logging.h"

Q_LOGGING_CATEGORY(lcEngine, "corvane.engine", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStore, "corvane.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcKeychain, "corvane.keychain", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "corvane.ui", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "corvane.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStartup, "corvane.startup", QtWarningMsg)
