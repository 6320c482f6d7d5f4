#include "app/BackupFeature.h"

#include "ui/BackupSetupSheet.h"
#include "ui/KeychainStatusPresenter.h"
#include "ui/TransferLoader.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileDialog>
#include <QMenu>
#include <QSysInfo>

using namespace Qt::Literals::StringLiterals;

BackupFeature::BackupFeature(TokenStore &store, KeychainStore &keychain, QSettings &settings, QObject *parent)
    : QObject(parent),
      m_backup(store, keychain, settings, TransferLoader::layer, QSysInfo::machineHostName()),
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

void BackupFeature::offerIn(QMenu *titleMenu, QWidget *dialogParent)
{
    titleMenu->addSeparator();
    titleMenu->addAction(tr("自动备份…"), this, [this, dialogParent] { openSetup(dialogParent); });
}

void BackupFeature::openSetup(QWidget *parent)
{
    const auto last = m_backup.lastBackupTime();
    const BackupSetupSheet::State state{
        m_backup.isOn(), m_backup.folder(), m_backup.keep(),
        last ? std::optional(QDateTime::fromMSecsSinceEpoch(qint64(*last * 1000))) : std::nullopt, problem()};
    auto *sheet = new BackupSetupSheet(state, parent);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &BackupSetupSheet::setUpRequested, this, &BackupFeature::setUp);
    connect(sheet, &BackupSetupSheet::turnOffRequested, &m_backup, [this] { m_backup.turnOff(); });
    sheet->open();
}

void BackupFeature::setUp(const QString &folder, const QString &password, int keep)
{
    if (password.isEmpty()) { // the same key, perhaps another folder
        m_backup.setKeep(keep);
        m_backup.setFolder(folder);
        return;
    }
    m_backup.setUp(folder, password, keep, [this](const std::expected<void, QString> &set) {
        if (!set && m_statusLine)
            m_statusLine->showMessage(set.error());
    });
}

void BackupFeature::notify(const BackupFailure &failure)
{
    QDBusMessage notify =
        QDBusMessage::createMethodCall(u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
                                       u"org.freedesktop.Notifications"_s, u"Notify"_s);
    notify << tr("岚签") << 0u << u"org.corvane.Corvane"_s << tr("自动备份失败") << failure.description()
           << QStringList() << QVariantMap() << -1;
    QDBusConnection::sessionBus().send(notify); // no answer awaited
}
