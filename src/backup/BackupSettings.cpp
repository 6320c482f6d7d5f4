#include "backup/BackupSettings.h"

#include "backup/BackupComputer.h"
#include "backup/BackupPolicy.h"
#include "store/SettingsKeys.h"

#include <QDir>

using namespace SettingsKeys;

QString BackupSettings::folder() const
{
    return m_settings.value(backupFolder).toString();
}

int BackupSettings::keep() const
{
    return BackupPolicy::keepWithin(m_settings.value(backupKeep, BackupPolicy::defaultKeep).toInt());
}

std::optional<double> BackupSettings::lastBackupTime() const
{
    const QVariant time = m_settings.value(backupTime);
    return time.isValid() ? std::optional(time.toDouble()) : std::nullopt;
}

bool BackupSettings::newestHolds(const QByteArray &digest) const
{
    const QString file = m_settings.value(backupLastFile).toString();
    return digest == m_settings.value(backupDigest).toByteArray() && !file.isEmpty() && QDir(folder()).exists(file);
}

QString BackupSettings::computer()
{
    if (!m_settings.contains(backupComputer)) {
        m_settings.setValue(backupComputer, BackupComputer::newId());
        m_settings.sync();
    }
    return m_settings.value(backupComputer).toString();
}

void BackupSettings::turnOn(const QString &folder, int keep)
{
    m_settings.setValue(backupFolder, QDir(folder).absolutePath());
    m_settings.setValue(backupKeep, BackupPolicy::keepWithin(keep));
    forgetNewest();
    m_settings.sync();
}

void BackupSettings::setFolder(const QString &folder)
{
    m_settings.setValue(backupFolder, QDir(folder).absolutePath());
    m_settings.sync();
}

void BackupSettings::setKeep(int keep)
{
    m_settings.setValue(backupKeep, BackupPolicy::keepWithin(keep));
    m_settings.sync();
}

void BackupSettings::turnOff()
{
    m_settings.remove(backupFolder);
    m_settings.remove(backupKeep);
    forgetNewest();
    m_settings.sync();
}

void BackupSettings::recordBackup(const QString &fileName, const QByteArray &digest, double time)
{
    m_settings.setValue(backupLastFile, fileName);
    m_settings.setValue(backupDigest, digest);
    m_settings.setValue(backupTime, time);
    m_settings.sync();
}

void BackupSettings::forgetNewest()
{
    for (const QString &key : {backupLastFile, backupDigest, backupTime})
        m_settings.remove(key);
}

QHash<QString, QString> BackupSettings::seen() const
{
    QHash<QString, QString> names;
    m_settings.beginGroup(backupSeen);
    for (const QString &origin : m_settings.childKeys())
        names.insert(origin, m_settings.value(origin).toString());
    m_settings.endGroup();
    return names;
}

void BackupSettings::markSeen(const QList<BackupEntry> &entries)
{
    for (const BackupEntry &entry : entries)
        m_settings.setValue(backupSeen + u'/' + entry.origin, entry.name.fileName());
    m_settings.sync();
}
