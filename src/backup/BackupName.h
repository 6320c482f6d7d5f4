#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The name of an automatic backup: corvane-backup-<host>-<yyyyMMdd-HHmmss>.json, with "-2",
// "-3"... before ".json" when the name was taken. Only files named so are ever rotated away.
struct BackupName
{
    QString host;
    QDateTime time; // local time, to the second
    int suffix = 1; // 1: none

    // The computer's short name with every character but ASCII letters, digits, "-" and "_"
    // replaced, so that it is safe in a file name on any file system.
    static QString safeHost(const QString &hostName);
    // Absent for a name that does not follow the pattern.
    static std::optional<BackupName> parse(const QString &fileName);

    QString fileName() const;
    // Newer first: by time, then by suffix.
    bool isNewerThan(const BackupName &other) const;
};
