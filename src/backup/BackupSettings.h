#pragma once

#include "backup/BackupEntry.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSettings>
#include <QString>

#include <optional>

// Automatic backups' own settings: the folder (absent while backups are off), how many to
// keep, the newest backup written (its file name, the keyed digest of its accounts and when),
// this installation's id, and the other computers' backups already looked at. File names
// and digests only, never a key. A view: any number may stand over the same settings.
class BackupSettings
{
public:
    explicit BackupSettings(QSettings &settings) : m_settings(settings) {}

    bool isOn() const { return !folder().isEmpty(); }
    QString folder() const;
    int keep() const;
    // When the newest verified backup was written, seconds since the epoch.
    std::optional<double> lastBackupTime() const;
    // Whether the newest backup is still in the folder and holds accounts of `digest`.
    bool newestHolds(const QByteArray &digest) const;
    // This installation's id, made on first use: tells its backups from those of another
    // home on the same machine.
    QString computer();

    // On in `folder`, with no backup written yet.
    void turnOn(const QString &folder, int keep);
    void setFolder(const QString &folder);
    void setKeep(int keep);
    // The id and what was looked at stay.
    void turnOff();
    void recordBackup(const QString &fileName, const QByteArray &digest, double time);

    // For each other computer (its origin), the name of its newest backup looked at.
    QHash<QString, QString> seen() const;
    void markSeen(const QList<BackupEntry> &entries);

private:
    void forgetNewest();

    QSettings &m_settings;
};
