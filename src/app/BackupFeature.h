#pragma once

#include "app/BackupService.h"
#include "backup/AutoBackup.h"

#include <QObject>
#include <QWidget>

class KeychainStatusPresenter;
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
    // Says so in the panel's status line too, with the way to act: choose another folder, or
    // try again.
    void showIn(KeychainStatusPresenter &statusLine, QWidget *dialogParent);

Q_SIGNALS:
    void problemChanged(const QString &problem);

private:
    void notify(const BackupFailure &failure);
    void chooseFolder(QWidget *dialogParent);

    AutoBackup m_backup;
    BackupService m_service;
};
