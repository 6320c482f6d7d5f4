#include "backup/BackupOffer.h"

#include "backup/BackupCatalog.h"
#include "store/TokenStore.h"

#include <QPointer>
#include <QtConcurrentRun>

BackupOffer::BackupOffer(AutoBackup &backup, TokenStore &store, QSettings &settings, LayerSource layer,
                         std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent),
      m_backup(backup),
      m_store(store),
      m_settings(settings),
      m_layer(std::move(layer))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(delay);
    connect(&m_delay, &QTimer::timeout, this, &BackupOffer::look);
    connect(&backup, &AutoBackup::folderContentsChanged, &m_delay, qOverload<>(&QTimer::start));
    connect(&backup, &AutoBackup::stateChanged, this, [this] {
        if (m_backup.isOn() || m_found.isEmpty())
            return;
        m_found.clear(); // turned off: nothing is on offer, nor was it looked at
        m_offer = {};
        Q_EMIT offerChanged();
    });
    connect(&m_job, &QFutureWatcherBase::finished, this, [this] { found(m_job.result()); });
    // What is here changes what is new; secrets read late complete the comparison.
    connect(&store, &TokenStore::accountsChanged, this, &BackupOffer::update);
    connect(&store, &TokenStore::codesChanged, this, &BackupOffer::update);
    if (backup.isOn())
        m_delay.start();
}

BackupOffer::~BackupOffer()
{
    m_job.waitForFinished();
}

void BackupOffer::look()
{
    if (!m_backup.isOn())
        return;
    if (m_job.isRunning())
        return m_delay.start();
    const auto layer = m_layer();
    if (!layer)
        return;
    m_backup.keyring().readMasterKey([this, guard = QPointer(this), layer = *layer](const QByteArray &masterKey) {
        if (!guard || masterKey.isEmpty() || m_job.isRunning())
            return;
        m_job.setFuture(QtConcurrent::run([folder = m_backup.folder(), host = m_backup.host(),
                                           computer = m_backup.computer(), seen = m_settings.seen(), masterKey, layer] {
            return BackupCatalog::newestOfOthers(folder, host, computer, seen, masterKey, *layer);
        }));
    });
}

void BackupOffer::found(const Found &entries)
{
    m_found.clear();
    for (const BackupEntry &entry : entries) {
        if (entry.state == BackupEntry::State::opened)
            m_found.append(entry);
        else
            m_settings.markSeen({entry}); // nothing this password can offer
    }
    update();
}

// The accounts of the found backups that are not here yet. Found backups with none left
// are done with.
void BackupOffer::update()
{
    ImportBatch offer;
    if (!m_found.isEmpty()) {
        const QList<ImportedToken> here = m_store.exportTokens();
        if (here.size() < m_store.accounts().size())
            return; // secrets not read yet: every account would look new
        for (const BackupEntry &entry : std::as_const(m_found))
            offer.tokens += entry.batch.tokens;
        offer.setAsidePresent(here);
        offer.present.clear();
        if (offer.tokens.isEmpty())
            m_settings.markSeen(std::exchange(m_found, {}));
    }
    if (offer.tokens == m_offer.tokens)
        return;
    m_offer = std::move(offer);
    Q_EMIT offerChanged();
}

void BackupOffer::handled()
{
    m_settings.markSeen(std::exchange(m_found, {}));
    m_offer = {};
    Q_EMIT offerChanged();
}
