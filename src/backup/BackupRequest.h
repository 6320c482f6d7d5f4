#pragma once

#include "backup/BackupPolicy.h"
#include "engine/ImportedToken.h"
#include "store/IconFolder.h"
#include "transfer/TransferLayer.h"
#include "transfer/VaultKey.h"

#include <QDateTime>
#include <QList>
#include <QString>

// Everything one automatic backup needs, copied, so that it can be written on another
// thread: the layer is stateless.
struct BackupRequest
{
    QString folder;
    QString host; // already safe for a file name
    QString computer; // this installation's id, stamped into the backup
    QDateTime time;
    QList<ImportedToken> tokens; // icons without their bytes: read from `icons` when written
    IconFolder icons;
    VaultKey key;
    int keep = BackupPolicy::defaultKeep;
    const TransferLayer *layer = nullptr;
};
