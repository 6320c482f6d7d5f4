#include "transfer/DerivedKeys.h"

DerivedKeys::DerivedKeys(const QString &password) : m_password(password.toUtf8()) {}

DerivedKeys DerivedKeys::lookUpOnly(const QString &password)
{
    DerivedKeys keys(password);
    keys.m_lookUpOnly = true;
    return keys;
}

std::expected<QByteArray, TransferError> DerivedKeys::key(const KeyDerivation &derivation) const
{
    auto known = m_keys.constFind(derivation);
    if (known == m_keys.cend()) {
        if (m_lookUpOnly) {
            m_pending = derivation;
            return std::unexpected(TransferError::Kind::keyPending);
        }
        known = m_keys.insert(derivation, derivation.derive(m_password));
    }
    if (!*known)
        return std::unexpected(TransferError::Kind::damaged);
    return **known;
}

void DerivedKeys::insert(const KeyDerivation &derivation, const std::optional<QByteArray> &key)
{
    m_keys.insert(derivation, key);
    m_pending.reset();
}
