#pragma once

#include "engine/ImportedToken.h"
#include "store/TokenAccount.h"
#include "transfer/BackupOpener.h"
#include "transfer/KeyDeriver.h"
#include "transfer/TransferError.h"
#include "transfer/TransferLayer.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class TokenStore;
struct ImportSummary;

// Moving accounts in and out: the encrypted backup (or, after a warning, a plain list of
// links), importing a backup file after showing what it will add, and one account's QR code.
class TransferCommands : public QObject
{
    Q_OBJECT

public:
    explicit TransferCommands(TokenStore &store, QObject *parent = nullptr);

    // The window the dialogs belong to.
    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }

    void exportBackup();
    void chooseAndImport();
    void importFile(const QString &path);
    void showQrCode(const TokenAccount &account);

private:
    // The transfer layer; absent, and reported, when its plugin cannot be opened.
    const TransferLayer *layer();
    void exportVault(const TransferLayer &layer, const QList<ImportedToken> &tokens, const QString &path);
    void save(const TransferLayer &layer, const QString &path, const QByteArray &bytes, qsizetype count);
    void openEncrypted(const TransferLayer &layer, const QByteArray &bytes, const QString &message);
    void offer(std::expected<ImportBatch, TransferError> batch);
    bool ask(const QString &text, const QString &choice);
    void reportImport(const ImportSummary &result);
    void inform(const QString &text);
    void fail(const TransferError &error);

    TokenStore &m_store;
    QPointer<QWidget> m_dialogParent;
    // Made with the layer, once it is open.
    std::unique_ptr<BackupOpener> m_opener;
    std::unique_ptr<KeyDeriver> m_deriver;
};
