#pragma once

#include "app/BackupService.h"
#include "backup/AutoBackup.h"
#include "backup/BackupOffer.h"

#include <QObject>
#include <QWidget>

class BackupRestoreSheet;
class KeychainStatusPresenter;
class QMenu;
class KeychainStore;
class QSettings;
class TokenStore;
class TransferCommands;

// Automatic backups in the running app: the engine over the app's store, its interface on
// the session bus, what the person is told when backups fail (one desktop notification per
// failure streak; the state for the tray's tooltip), restoring a backup and another
// computer's new accounts on offer, both through the usual import summary.
class BackupFeature : public QObject
{
    Q_OBJECT

public:
    BackupFeature(TokenStore &store, KeychainStore &keychain, QSettings &settings, TransferCommands &transfer,
                  QObject *parent = nullptr);

    AutoBackup &backup() { return m_backup; }
    // One short sentence when backups fail, else empty.
    QString problem() const;
    // Says so in the panel's status line too, with the way to act: choose another folder, or
    // try again; else offers another computer's new accounts.
    void showIn(KeychainStatusPresenter &statusLine, QWidget *dialogParent);
    // The setup sheet over `parent`.
    void openSetup(QWidget *parent);
    // The backups in the folder, to import one.
    void openRestore(QWidget *parent);
    // Offers "自动备份…" and "从备份恢复…" in the panel's title menu, before `before`.
    void offerIn(QMenu *titleMenu, QAction *before, QWidget *dialogParent);

Q_SIGNALS:
    void problemChanged(const QString &problem);

private:
    void notify(const BackupFailure &failure);
    void chooseFolder(QWidget *dialogParent);

    void setUp(const QString &folder, const QString &password, int keep, const BackupSetup::Done &done);
    void reviewOffer();
    void listed(BackupRestoreSheet &sheet, const QList<BackupEntry> &entries);

    TransferCommands &m_transfer;
    AutoBackup m_backup;
    BackupOffer m_offer;
    KeychainStatusPresenter *m_statusLine = nullptr;
    BackupService m_service;
};
