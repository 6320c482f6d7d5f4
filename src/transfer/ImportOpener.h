#pragma once

#include "transfer/ImportBatch.h"
#include "transfer/KdfPolicy.h"
#include "transfer/KeyDeriver.h"
#include "transfer/TransferLayer.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <stop_token>

// Reads a backup file with a password through the transfer layer, off the main thread, the
// keys it needs derived in a process of their own by a KeyDeriver: the read stops at the first key not derived yet and
// runs again once it is back. A read started while another runs replaces it: the first one
// is asked to stop, and its outcome is dropped.
class ImportOpener : public QObject
{
    Q_OBJECT

public:
    using Result = std::expected<ImportBatch, TransferError>;

    // `keyProgram` derives the keys (see KeyDeriver).
    ImportOpener(const TransferLayer &layer, const QString &keyProgram, const KdfPolicy &policy = {},
                 QObject *parent = nullptr);
    ~ImportOpener() override;

    // `done` is called on the main thread, unless the read is cancelled or replaced first.
    void open(const QByteArray &bytes, const QString &password, std::function<void(const Result &)> done);
    void cancel();
    bool isBusy() const { return bool(m_done); }

private:
    // A read's outcome: the batch, or the key it is waiting for.
    struct Step
    {
        Result result;
        std::optional<KeyDerivation> pending;
    };

    void step();
    void stepped(const Step &outcome);

    const TransferLayer &m_layer;
    KdfPolicy m_policy;
    KeyDeriver m_deriver;
    QByteArray m_bytes;
    QString m_password;
    DerivedKeyTable m_keys;
    std::function<void(const Result &)> m_done;
    // Counts reads started, so that a replaced read's outcome is recognised and dropped.
    quint64 m_generation = 0;
    // Asks the worker reading for the current open() to stop; the one state it shares.
    std::stop_source m_stop;
};
