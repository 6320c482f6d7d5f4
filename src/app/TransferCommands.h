#pragma once

#include "app/ExportFlow.h"
#include "app/ImportQueue.h"
#include "app/TransferMessages.h"
#include "store/TokenAccount.h"

#include <QObject>
#include <QStringList>
#include <QWidget>

class TokenStore;

// Moving accounts in and out, as the menu, the panel, the command line and the bus ask: the
// export, imports waiting in their queue, and one account's QR code.
class TransferCommands : public QObject
{
    Q_OBJECT

public:
    explicit TransferCommands(TokenStore &store, QObject *parent = nullptr);

    // The window the dialogs belong to.
    void setDialogParent(QWidget *parent) { m_messages.setDialogParent(parent); }
    // The binary that derives keys (see KeyDeriver): this one unless told otherwise, as a
    // test that is not Corvane's binary must.
    void setKeyProgram(const QString &program) { m_keyProgram = program; }

    void exportBackup() { m_export.exportBackup(); }
    // Queues an import that asks the person for its file.
    void chooseAndImport() { m_imports.enqueue(QString()); }
    // Queues the files, each imported with a summary of its own; at most ImportQueue::maxQueued
    // wait at once.
    void importFiles(const QStringList &paths) { m_imports.importFiles(paths); }
    // Queues accounts read already (from an automatic backup), shown in the same summary.
    void importBatch(const ImportBatch &batch) { m_imports.enqueue(batch); }
    void showQrCode(const TokenAccount &account);
    // Asks for an Aegis icon pack (its zip file, or the pack.json of its folder), reads it off
    // the main thread and gives its icons to the accounts without one whose issuer it names.
    void importIconPack();

Q_SIGNALS:
    // The import queue ran empty.
    void importsFinished();

private:
    TokenStore &m_store;
    TransferMessages m_messages;
    QString m_keyProgram;
    ExportFlow m_export;
    ImportQueue m_imports;
};
