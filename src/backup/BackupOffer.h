#pragma once

#include "backup/AutoBackup.h"
#include "backup/BackupEntry.h"
#include "backup/BackupSettings.h"
#include "backup/LayerSource.h"
#include "transfer/ImportBatch.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSettings>
#include <QTimer>

#include <chrono>

class TokenStore;

// A second computer following the first: when another computer's newer backup arrives in
// the folder (the folder is watched) and, opened with the shared master key, holds accounts
// this computer lacks (the import's duplicate rule), they are offered; only the person adds
// them, through the import summary. Nothing here changes or deletes an account. A backup
// once offered and looked at, or holding nothing new, is not offered again: the settings
// remember its name for its computer (BackupSettings::seen), names only.
class BackupOffer : public QObject
{
    Q_OBJECT

public:
    // `delay` lets a sync service finish a burst of files before the folder is read.
    BackupOffer(AutoBackup &backup, TokenStore &store, QSettings &settings, LayerSource layer,
                std::chrono::milliseconds delay = std::chrono::seconds(1), QObject *parent = nullptr);
    ~BackupOffer() override;

    // The accounts on offer (ImportBatch::tokens); empty for none.
    const ImportBatch &offer() const { return m_offer; }
    // The person looked at the offer, to add or to skip its accounts: its backups are not
    // offered again.
    void handled();

Q_SIGNALS:
    void offerChanged();

private:
    using Found = QList<BackupEntry>;
    void look();
    void found(const Found &entries);
    void update();

    AutoBackup &m_backup;
    TokenStore &m_store;
    BackupSettings m_settings;
    LayerSource m_layer;
    QTimer m_delay;
    QFutureWatcher<Found> m_job;
    Found m_found; // other computers' backups with something to offer
    ImportBatch m_offer;
};
