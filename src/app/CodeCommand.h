#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QString>

#include <optional>

// `corvane --code QUERY` and `corvane --list`. --code prints the current code of the one
// account the query names (exit 0), says none matches (exit 1) or prints the matches as
// "issuer · name" lines (exit 2); --list prints "issuer<TAB>name<TAB>type" lines. Both ask the
// running instance over the bus, so that a counter advances once and is saved first, and read
// the settings and the keychain themselves when none runs. Never a secret in any output.
class CodeCommand
{
public:
    enum ExitCode { answered = 0, failed = 1, ambiguous = 2 };

    // The process's exit code when the arguments ask for a code or the list; absent otherwise.
    static std::optional<int> runIfAsked(int argc, char *argv[]);

    // `query` absent: the list. `service` is the running instance's bus name.
    CodeCommand(std::optional<QString> query, QDBusConnection bus, QString service);
    int run(QByteArray &out, QByteArray &err);

private:
    bool instanceRuns() const;
    int askInstance(QByteArray &out, QByteArray &err);
    int readKeychain(QByteArray &out, QByteArray &err);
    int answer(const QList<QStringList> &named, const std::optional<QString> &code, QByteArray &out,
               QByteArray &err) const;
    static QByteArray listLine(const QString &issuer, const QString &name, const QString &type);

    std::optional<QString> m_query;
    QDBusConnection m_bus;
    QString m_service;
};
