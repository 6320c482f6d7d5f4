#pragma once

#include "engine/TOTPError.h"
#include "store/KeychainError.h"

#include <QString>

#include <optional>
#include <variant>

class QSettings;

// The account list could not be written to the settings file.
struct ListSaveError
{
    QString reason;

    // Why the settings' last write of `key` failed; absent when it worked.
    static std::optional<ListSaveError> of(const QSettings &settings, const QString &key);

    QString description() const;
    bool operator==(const ListSaveError &) const = default;
};

// The keyring was locked when an add came: nothing was added.
struct LockedKeychainError
{
    QString description() const;
    bool operator==(const LockedKeychainError &) const = default;
};

// A file given as an account's icon is not one: too large, not SVG, PNG or JPEG, or an SVG
// with scripts or references outside itself.
struct IconError
{
    QString description() const;
    bool operator==(const IconError &) const = default;
};

// Why adding an account failed: the secret was rejected, the keychain refused it, or the
// list holding the account could not be saved.
class StoreError
{
public:
    StoreError(TOTPError error) : m_error(error) {}
    StoreError(KeychainError error) : m_error(std::move(error)) {}
    StoreError(ListSaveError error) : m_error(std::move(error)) {}
    StoreError(LockedKeychainError error) : m_error(error) {}
    StoreError(IconError error) : m_error(error) {}

    // The text the views show.
    QString description() const;
    // Not Base32, or not usable with the account's settings; a secret that is merely too long is not this.
    bool isInvalidSecret() const
    {
        const TOTPError *error = std::get_if<TOTPError>(&m_error);
        return error && *error == TOTPError::invalidSecret;
    }
    bool isKeychainError() const { return std::holds_alternative<KeychainError>(m_error); }
    // Adding again once the keyring is unlocked would work.
    bool isKeychainLocked() const { return std::holds_alternative<LockedKeychainError>(m_error); }

    bool operator==(const StoreError &) const = default;

private:
    std::variant<TOTPError, KeychainError, ListSaveError, LockedKeychainError, IconError> m_error;
};
