#pragma once

#include "engine/ImportedToken.h"
#include "store/TokenAccount.h"
#include "transfer/TransferError.h"
#include "transfer/TransferLayer.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QWidget>

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
    const TransferLayer *layer();
    std::optional<QByteArray> encode(const TransferLayer &layer, const QList<ImportedToken> &tokens, bool links);
    bool ask(QMessageBox::Icon icon, const QString &text, const QString &accept);
    void reportImport(const ImportSummary &result);
    void inform(const QString &text);
    void fail(const TransferError &error);

    TokenStore &m_store;
    QPointer<QWidget> m_dialogParent;
};
