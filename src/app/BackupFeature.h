#pragma once

#include "app/BackupService.h"
#include "backup/AutoBackup.h"

#include <QObject>

class KeychainStore;
class QSettings;
class TokenStore;

// Automatic backups in the running app: the engine over the app's store, its interface on
// the session bus, and what the person is told when backups fail (one desktop notification
// per failure streak; the state for the tray's tooltip).
class BackupFeature : public QObject
{
    Q_OBJECT

public:
    BackupFeature(TokenStore &store, KeychainStore &keychain, QSettings &settings, QObject *parent = nullptr);

    AutoBackup &backup() { return m_backup; }
    // One short sentence when backups fail, else empty.
    QString problem() const;

Q_SIGNALS:
    void problemChanged(const QString &problem);

private:
    void notify(const BackupFailure &failure);

    AutoBackup m_backup;
    BackupService m_service;
};
