#pragma once

#include <QString>

// Why a backup, a phone-export link or a QR code image gave no accounts, or a backup could
// not be written. Nothing is imported when reading fails.
class TransferError
{
public:
    enum class Kind {
        passwordRequired,
        wrongPassword,
        // Formats whose one authenticated box cannot tell a wrong password from damage.
        wrongPasswordOrDamaged,
        damaged,
        unrecognized,
        unsupported,
        tooLarge,
        tooManyAccounts,
        notAFile,
        fileError,
        damagedLink,
        noQrCode,
        notAnAccountCode,
        unreadableImage,
        screenUnavailable,
        // A key the read needs is still being derived (DerivedKeys in look-up mode).
        keyPending,
        componentMissing, // the plugin that reads and writes these could not be opened
        // A file that would be refused for its cost unless it is of an older format that did
        // not open with this password (andOTP's oldest backups start with random bytes where
        // the current ones give the count).
        wrongPasswordOrTooCostly,
        // The read was cancelled or replaced before it ended; nothing to tell anyone.
        cancelled,
    };

    TransferError(Kind kind, QString detail = {}) : m_kind(kind), m_detail(std::move(detail)) {}

    Kind kind() const { return m_kind; }
    // Whether the password was refused, so that another one may open the file.
    bool mayTakeAnotherPassword() const
    {
        return m_kind == Kind::wrongPassword || m_kind == Kind::wrongPasswordOrDamaged
               || m_kind == Kind::wrongPasswordOrTooCostly;
    }
    // The text the dialogs show.
    QString description() const;

    bool operator==(const TransferError &) const = default;

private:
    Kind m_kind;
    QString m_detail;
};
