#include "app/BackupFeature.h"

#include "app/DesktopNotifier.h"
#include "app/TransferCommands.h"
#include "backup/BackupCatalog.h"
#include "transfer/TransferLoader.h"
#include "ui/BackupRestoreSheet.h"
#include "ui/BackupSetupSheet.h"
#include "ui/KeychainStatusPresenter.h"

#include <QFileDialog>
#include <QFutureWatcher>
#include <QMenu>
#include <QPointer>
#include <QSysInfo>
#include <QtConcurrentRun>

BackupFeature::BackupFeature(TokenStore &store, KeychainStore &keychain, QSettings &settings,
                             TransferCommands &transfer, QObject *parent)
    : QObject(parent),
      m_transfer(transfer),
      m_backup(store, keychain, settings, TransferLoader::layer, QSysInfo::machineHostName()),
      m_offer(m_backup, store, settings, TransferLoader::layer),
      m_service(m_backup)
{
    m_service.publish();
    connect(&m_backup, &AutoBackup::stateChanged, this, [this] { Q_EMIT problemChanged(problem()); });
    connect(&m_backup, &AutoBackup::failureStreakStarted, this, &BackupFeature::notify);
}

QString BackupFeature::problem() const
{
    return m_backup.failure() ? m_backup.failure()->description() : QString();
}

void BackupFeature::showIn(KeychainStatusPresenter &statusLine, QWidget *dialogParent)
{
    const auto show = [this, &statusLine, dialogParent] {
        const auto &failure = m_backup.failure();
        const auto offered = m_offer.offer().tokens.size();
        if (!failure && offered > 0)
            return statusLine.setNote(tr("另一台电脑的备份里有 %n 个新账户", nullptr, int(offered)), tr("查看…"),
                                      [this] { reviewOffer(); });
        if (!failure)
            return statusLine.setNote({}, {}, {});
        if (failure->concernsFolder())
            return statusLine.setNote(failure->description(), tr("选择文件夹…"),
                                      [this, dialogParent] { chooseFolder(dialogParent); });
        if (!failure->mayPassOnRetry())
            return statusLine.setNote(failure->description(), {}, {});
        statusLine.setNote(failure->description(), tr("重试"), [this] { m_backup.backUpNow([](const auto &) {}); });
    };
    m_statusLine = &statusLine;
    connect(&m_backup, &AutoBackup::stateChanged, &statusLine, show);
    connect(&m_offer, &BackupOffer::offerChanged, &statusLine, show);
    show();
}

void BackupFeature::chooseFolder(QWidget *dialogParent)
{
    // The desktop's own chooser (the portal's in a Wayland session), without holding up the panel.
    auto *dialog = new QFileDialog(dialogParent, tr("选择备份文件夹"), m_backup.folder());
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, &m_backup, &AutoBackup::setFolder);
    dialog->open();
}

void BackupFeature::offerIn(QMenu *titleMenu, QAction *before, QWidget *dialogParent)
{
    auto *setup = new QAction(tr("自动备份…"), titleMenu);
    connect(setup, &QAction::triggered, this, [this, dialogParent] { openSetup(dialogParent); });
    auto *restore = new QAction(tr("从备份恢复…"), titleMenu);
    connect(restore, &QAction::triggered, this, [this, dialogParent] { openRestore(dialogParent); });
    titleMenu->insertActions(before, {setup, restore});
}

// The person looks at the accounts on offer: whether they add or skip them, the backups they
// came from are not offered again.
void BackupFeature::reviewOffer()
{
    const ImportBatch batch = m_offer.offer();
    m_offer.handled();
    m_transfer.importBatch(batch);
}

// Every backup is read and opened off the main thread; the sheet lists them when they are.
void BackupFeature::openRestore(QWidget *parent)
{
    auto *sheet = new BackupRestoreSheet(parent);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    const auto layer = TransferLoader::layer();
    if (!m_backup.isOn() || !layer)
        return sheet->setMessage(layer ? tr("自动备份尚未开启，没有可恢复的备份。") : layer.error().description());
    m_backup.keyring().readMasterKey([this, sheet = QPointer(sheet), layer = *layer](const QByteArray &masterKey) {
        if (!sheet)
            return;
        auto *job = new QFutureWatcher<QList<BackupEntry>>(sheet);
        connect(job, &QFutureWatcherBase::finished, sheet, [this, sheet, job] { listed(*sheet, job->result()); });
        job->setFuture(QtConcurrent::run(
            [folder = m_backup.folder(), host = m_backup.host(), computer = m_backup.computer(), masterKey, layer] {
                return BackupCatalog::openAll(folder, host, computer, masterKey, *layer);
            }));
    });
}

void BackupFeature::listed(BackupRestoreSheet &sheet, const QList<BackupEntry> &entries)
{
    QList<BackupRestoreSheet::Item> items;
    using State = BackupRestoreSheet::Item::State;
    for (const BackupEntry &entry : entries) {
        const State state = entry.state == BackupEntry::State::opened          ? State::opened
                            : entry.state == BackupEntry::State::needsPassword ? State::needsPassword
                                                                               : State::unreadable;
        items.append({entry.computer, entry.own, entry.name.time, state, entry.batch.tokens.size()});
    }
    sheet.setItems(items);
    connect(&sheet, &BackupRestoreSheet::chosen, this, [this, entries](int index) {
        const BackupEntry &entry = entries.at(index);
        if (entry.state == BackupEntry::State::opened)
            m_transfer.importBatch(entry.batch);
        else
            m_transfer.importFiles({entry.path}); // asks for its password
    });
}

void BackupFeature::openSetup(QWidget *parent)
{
    const auto last = m_backup.lastBackupTime();
    const BackupSetupSheet::State state{
        m_backup.isOn(), m_backup.folder(), m_backup.keep(),
        last ? std::optional(QDateTime::fromMSecsSinceEpoch(qint64(*last * 1000))) : std::nullopt, problem()};
    auto *sheet = new BackupSetupSheet(state, parent);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &BackupSetupSheet::setUpRequested, this,
            [this, sheet = QPointer(sheet)](const QString &folder, const QString &password, int keep) {
                setUp(folder, password, keep, [this, sheet](const std::expected<void, QString> &set) {
                    if (sheet)
                        sheet->setUpFinished(set);
                    else if (!set && m_statusLine) // the sheet was closed meanwhile
                        m_statusLine->showMessage(set.error());
                });
            });
    connect(sheet, &BackupSetupSheet::turnOffRequested, &m_backup, [this] { m_backup.turnOff(); });
    sheet->open();
}

void BackupFeature::setUp(const QString &folder, const QString &password, int keep, const BackupSetup::Done &done)
{
    if (password.isEmpty()) { // the same key, perhaps another folder
        m_backup.setKeep(keep);
        m_backup.setFolder(folder);
        return done({});
    }
    m_backup.setUp(folder, password, keep, done);
}

void BackupFeature::notify(const BackupFailure &failure)
{
    DesktopNotifier::notify(tr("自动备份失败"), failure.description());
}
