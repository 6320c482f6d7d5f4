#pragma once

#include <QString>

// A failed keychain call: the Secret Service (GError) domain, code and message.
class KeychainError
{
public:
    KeychainError(QString domain, int code, QString message);

    const QString &domain() const { return m_domain; }
    int code() const { return m_code; }
    // The text shown to the user: the service's own message.
    QString description() const;

    bool operator==(const KeychainError &) const = default;

private:
    QString m_domain;
    int m_code;
    QString m_message;
};
