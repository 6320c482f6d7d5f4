#pragma once

#include "transfer/KeyDerivation.h"

#include <QObject>
#include <QPointer>
#include <QProcess>

#include <functional>

// Runs key derivations in a process of their own, one at a time: Corvane's binary started
// with `option`, the derivation and the password written to its standard input (never its
// command line or environment), the key read from its standard output. A derivation that
// is cancelled or replaced is stopped at once by killing that process, and the memory a
// costly one takes (a gigabyte for Argon2) never enters the panel's process.
class KeyDeriver : public QObject
{
    Q_OBJECT

public:
    // The key, or absent when the parameters are outside what the function takes.
    using Done = std::function<void(const std::optional<QByteArray> &key)>;

    static inline const QString option = QStringLiteral("--derive-key");

    // `program` is the binary that answers `option`.
    explicit KeyDeriver(QString program, QObject *parent = nullptr);
    ~KeyDeriver() override;

    // Replaces the derivation that runs, if any. `done` runs on the main thread.
    void derive(const QByteArray &password, const KeyDerivation &derivation, Done done);
    void cancel();

    // The helper's side: reads a request from `input`, writes the key to `output` as
    // `derive` gives it; false when the request cannot be read.
    static bool
    serve(QIODevice &input, QIODevice &output,
          const std::function<std::optional<QByteArray>(const KeyDerivation &, const QByteArray &)> &derive);

private:
    void finished(int exitCode, QProcess::ExitStatus status);

    QString m_program;
    QPointer<QProcess> m_process;
    Done m_done;
};
