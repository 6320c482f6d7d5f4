#pragma once

#include "app/BackupService.h"
#include "backup/AutoBackup.h"

#include <QObject>
#include <QWidget>

class KeychainStatusPresenter;
class QMenu;
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
    // The setup sheet over `parent`.
    void openSetup(QWidget *parent);
    // Offers "自动备份…" in the panel's title menu.
    void offerIn(QMenu *titleMenu, QWidget *dialogParent);

Q_SIGNALS:
    void problemChanged(const QString &problem);

private:
    void notify(const BackupFailure &failure);
    void chooseFolder(QWidget *dialogParent);

    void setUp(const QString &folder, const QString &password, int keep);

    AutoBackup m_backup;
    KeychainStatusPresenter *m_statusLine = nullptr;
    BackupService m_service;
};
