#pragma once

#include "transfer/ImportBatch.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// `corvane --inspect FILE`: reads a backup the way an import does and prints what it holds,
// one tab-separated line each, never a secret. It touches neither the keychain nor the
// settings and needs no display, so a backup can be checked before it is relied on.
class InspectCommand
{
public:
    // The password, asked for only when the file is encrypted; absent when none was given.
    using PasswordSource = std::function<std::optional<QString>()>;

    // The process's exit code when the arguments ask for an inspection; absent otherwise.
    static std::optional<int> runIfAsked(int argc, char *argv[]);

    InspectCommand(PasswordSource password, double now);

    // 0 with the report in `out` when the file was read; 1 with the reason in `err` when not.
    int run(const QString &path, QByteArray &out, QByteArray &err) const;

private:
    QByteArray report(const ImportBatch &batch) const;

    PasswordSource m_password;
    double m_now;
};
