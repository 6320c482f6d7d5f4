#pragma once

#include "backup/BackupName.h"
#include "transfer/ImportBatch.h"

#include <QString>

// One automatic backup in the folder, as a restore lists it or another computer's offer
// reads it.
struct BackupEntry
{
    enum class State {
        opened, // with this password's master key
        needsPassword, // a vault written with another password
        unreadable,
    };

    BackupName name;
    QString path;
    // The computer that wrote it: its id, or its host for a backup without one.
    QString origin;
    // That computer as the person tells it apart (BackupComputer::label).
    QString computer;
    bool own = false;
    State state = State::unreadable;
    ImportBatch batch = {}; // the accounts, once opened
};
