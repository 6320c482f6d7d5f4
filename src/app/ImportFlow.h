#pragma once

#include "transfer/ImportBatch.h"
#include "transfer/TransferError.h"

#include <QObject>

#include <expected>
#include <memory>
#include <stop_token>
#include <variant>

class ImportOpener;
class SlicedFileReader;
class TokenStore;
class TransferLayer;
class TransferMessages;
struct ImportSummary;

// One import: a file read a slice per turn of the event loop and parsed on a worker thread,
// asking for its password until it opens, or accounts read already; then what it will add,
// for the person to confirm, the accounts added (with the progress of a long run) and what
// was added said. `finished` tells that it is over, however it ended.
class ImportFlow : public QObject
{
    Q_OBJECT

public:
    // A file's path (empty asks the person for a file), or accounts read already.
    using Source = std::variant<QString, ImportBatch>;

    // `keyProgram` derives the keys of a file with a password (see KeyDeriver).
    ImportFlow(TokenStore &store, const TransferMessages &messages, const QString &keyProgram,
               QObject *parent = nullptr);
    // Asks a worker still parsing to stop, as when the app quits during a parse.
    ~ImportFlow() override;

    void start(Source source);

Q_SIGNALS:
    void finished();

private:
    using ParseResult = std::expected<ImportBatch, TransferError>;
    void fileRead(std::expected<QByteArray, TransferError> bytes);
    void parsed(const TransferLayer &layer, const QByteArray &bytes, const ParseResult &batch);
    void openEncrypted(const TransferLayer &layer, const QByteArray &bytes, const QString &message);
    void offer(ParseResult batch);
    void report(const ImportSummary &result);

    TokenStore &m_store;
    const TransferMessages &m_messages;
    QString m_keyProgram;
    std::unique_ptr<SlicedFileReader> m_reader;
    // Made for a file with a password.
    std::unique_ptr<ImportOpener> m_opener;
    std::stop_source m_parseStop;
};
