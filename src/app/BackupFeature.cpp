#include "app/BackupFeature.h"

#include "ui/KeychainStatusPresenter.h"
#include "ui/TransferLoader.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileDialog>
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

void BackupFeature::notify(const BackupFailure &failure)
{
    QDBusMessage notify =
        QDBusMessage::createMethodCall(u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
                                       u"org.freedesktop.Notifications"_s, u"Notify"_s);
    notify << tr("岚签") << 0u << u"corvane"_s << tr("自动备份失败") << failure.description() << QStringList()
           << QVariantMap() << -1;
    QDBusConnection::sessionBus().send(notify); // no answer awaited
}
