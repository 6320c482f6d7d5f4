#pragma once

#include <QString>

// Why an automatic backup was not written, or not verified.
class BackupFailure
{
public:
    enum class Kind {
        folderMissing,
        notWritable,
        diskFull,
        notVerified,
        keychainLocked, // the backup key or an account's secret could not be read
        keyMissing, // the keychain lost the backup key: set up again
        off, // a backup was asked for while automatic backups are off
        componentMissing, // the vault writer could not be opened
    };

    BackupFailure(Kind kind) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    // One short sentence for the status line and the tray's tooltip.
    QString description() const;
    // Whether choosing another folder is the way out, rather than trying again.
    bool concernsFolder() const { return m_kind == Kind::folderMissing || m_kind == Kind::notWritable; }
    // Whether the folder may heal without the folder's watch hearing of it (a read-only
    // remount, space freed elsewhere on the disk, a write that did not read back), so that
    // backups try again on a timer.
    bool mayPassUnseen() const { return concernsFolder() || m_kind == Kind::diskFull || m_kind == Kind::notVerified; }
    // Whether trying again can help without the person setting backups up again.
    bool mayPassOnRetry() const { return m_kind != Kind::keyMissing && m_kind != Kind::off; }

    bool operator==(const BackupFailure &) const = default;

private:
    Kind m_kind;
};
