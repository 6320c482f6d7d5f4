#include "app/BackupFeature.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSysInfo>

#include "ui/TransferLoader.h"

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

void BackupFeature::notify(const BackupFailure &failure)
{
    QDBusMessage notify =
        QDBusMessage::createMethodCall(u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
                                       u"org.freedesktop.Notifications"_s, u"Notify"_s);
    notify << tr("岚签") << 0u << u"corvane"_s << tr("自动备份失败") << failure.description() << QStringList()
           << QVariantMap() << -1;
    QDBusConnection::sessionBus().send(notify); // no answer awaited
}
