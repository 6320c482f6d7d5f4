#include "store/KeychainError.h"

#include <utility>

KeychainError::KeychainError(QString domain, int code, QString message)
    : m_domain(std::move(domain)),
      m_code(code),
      m_message(std::move(message))
{}

QString KeychainError::description() const
{
    return m_message;
}
