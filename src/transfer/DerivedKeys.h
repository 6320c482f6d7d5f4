#pragma once

#include "transfer/KeyDerivation.h"
#include "transfer/TransferError.h"

#include <QHash>
#include <QString>

#include <expected>

// The keys a backup's password gives, for the readers. By default a key is derived when a
// reader asks for it. In look-up mode it is only looked up among the keys derived so far:
// a missing one ends the read with keyPending, and pending() names it, so that the key can
// be derived off the main thread and the read run again (see ImportOpener).
class DerivedKeys
{
public:
    // Not explicit: a reader called with a password derives its keys on the spot.
    DerivedKeys(const QString &password = {});

    static DerivedKeys lookUpOnly(const QString &password);

    bool hasPassword() const { return !m_password.isEmpty(); }
    const QByteArray &password() const { return m_password; }

    // damaged when the derivation fails.
    std::expected<QByteArray, TransferError> key(const KeyDerivation &derivation) const;
    std::optional<KeyDerivation> pending() const { return m_pending; }
    // Records a derivation's outcome; absent for one that failed.
    void insert(const KeyDerivation &derivation, const std::optional<QByteArray> &key);

private:
    QByteArray m_password;
    bool m_lookUpOnly = false;
    // Remembered so that a read run again after a derivation does not repeat the others.
    mutable DerivedKeyTable m_keys;
    mutable std::optional<KeyDerivation> m_pending;
};
