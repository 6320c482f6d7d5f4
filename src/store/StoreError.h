#pragma once

#include "engine/TOTPError.h"
#include "store/KeychainError.h"

#include <QString>

#include <variant>

// Why adding an account failed: the secret was rejected, or the keychain refused it.
class StoreError
{
public:
    StoreError(TOTPError error) : m_error(error) {}
    StoreError(KeychainError error) : m_error(std::move(error)) {}

    // The text the views show.
    QString description() const;
    bool isInvalidSecret() const { return std::holds_alternative<TOTPError>(m_error); }

    bool operator==(const StoreError &) const = default;

private:
    std::variant<TOTPError, KeychainError> m_error;
};
