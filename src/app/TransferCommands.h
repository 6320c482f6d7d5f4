#pragma once

#include "engine/ImportedToken.h"
#include "store/TokenAccount.h"
#include "transfer/ImportBatch.h"
#include "transfer/ImportOpener.h"
#include "transfer/KeyDeriver.h"
#include "transfer/TransferError.h"
#include "transfer/TransferLayer.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <expected>
#include <memory>
#include <stop_token>
#include <variant>

class SlicedFileReader;
class TokenStore;
struct ImportSummary;

// Moving accounts in and out: the encrypted backup (or, after a warning, a plain list of
// links), importing a backup file after showing what it will add, and one account's QR code.
// Files to import wait in a queue, so that the dialogs of one import are on the screen at a
// time; each is read on the event loop and parsed on a worker thread.
class TransferCommands : public QObject
{
    Q_OBJECT

public:
    explicit TransferCommands(TokenStore &store, QObject *parent = nullptr);
    ~TransferCommands() override;

    // The window the dialogs belong to.
    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }
    // The binary that derives keys (see KeyDeriver): this one unless told otherwise, as a
    // test that is not Corvane's binary must.
    void setKeyProgram(const QString &program) { m_keyProgram = program; }

    void exportBackup();
    void chooseAndImport();
    // The most files waiting to be imported at once: more, from one launch or one call over
    // the bus, would be an hour of dialogs; the rest are named and left out.
    static constexpr qsizetype maxQueued = 20;

    // Queues the files, each imported with a summary of its own.
    void importFiles(const QStringList &paths);
    // Queues accounts read already (from an automatic backup), shown in the same summary.
    void importBatch(const ImportBatch &batch);
    void showQrCode(const TokenAccount &account);
    bool isImporting() const { return m_importing; }

Q_SIGNALS:
    // The import queue ran empty.
    void importsFinished();

private:
    using ParseResult = std::expected<ImportBatch, TransferError>;
    // The transfer layer; absent, and reported, when its plugin cannot be opened.
    const TransferLayer *layer();
    void exportVault(const TransferLayer &layer, const QList<ImportedToken> &tokens, const QString &path);
    void save(const QString &path, const QByteArray &bytes, qsizetype count);
    using Queued = std::variant<QString, ImportBatch>;
    void enqueue(Queued entry);
    void importNext();
    void fileRead(std::expected<QByteArray, TransferError> bytes);
    void parsed(const TransferLayer &layer, const QByteArray &bytes, const ParseResult &batch);
    void openEncrypted(const TransferLayer &layer, const QByteArray &bytes, const QString &message);
    void offer(ParseResult batch);
    void addConfirmed(const ImportBatch &batch);
    void importDone();
    bool ask(const QString &text, const QString &choice);
    void reportImport(const ImportSummary &result);
    void inform(const QString &text);
    void fail(const TransferError &error);

    TokenStore &m_store;
    QPointer<QWidget> m_dialogParent;
    // Made with the layer, once it is open.
    std::unique_ptr<ImportOpener> m_opener;
    std::unique_ptr<KeyDeriver> m_deriver;
    QString m_keyProgram;
    QList<Queued> m_queue; // an empty path asks the person for a file
    bool m_importing = false;
    std::unique_ptr<SlicedFileReader> m_reader;
    // Asks the worker parsing a file without a password to stop, when the commands go (quit).
    std::stop_source m_parseStop;
};
