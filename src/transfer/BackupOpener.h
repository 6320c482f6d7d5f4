#pragma once

#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/KdfPolicy.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>

// Reads a backup file with a password on the main thread, deriving the keys it needs off
// it: each derivation is a pure function of the password, its parameters and its salt, run
// through QtConcurrent, and the read runs again once the key is back. One derivation runs at
// a time: a read started while one runs waits for it, and the result of a read that was
// cancelled or replaced is dropped.
class BackupOpener : public QObject
{
    Q_OBJECT

public:
    using Result = std::expected<ImportBatch, TransferError>;

    explicit BackupOpener(const KdfPolicy &policy = {}, QObject *parent = nullptr);

    // Replaces the read in progress; `done` is called on the main thread.
    void open(const QByteArray &bytes, const QString &password, std::function<void(const Result &)> done);
    void cancel();
    bool isBusy() const { return bool(m_done); }

private:
    void step();
    void derived();

    KdfPolicy m_policy;
    QByteArray m_bytes;
    DerivedKeys m_keys;
    std::function<void(const Result &)> m_done;
    // Which read the running derivation is for: a later read does not take its key.
    quint64 m_read = 0;
    quint64 m_derivingFor = 0;
    KeyDerivation m_deriving;
    QFutureWatcher<std::optional<QByteArray>> m_derivation;
};
