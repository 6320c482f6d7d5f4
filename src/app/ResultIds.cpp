#include "app/ResultIds.h"

#include <QRandomGenerator>

QString ResultIds::idFor(const QUuid &account)
{
    forgetExpired();
    const double expires = m_clock() + lifetimeSeconds;
    for (auto entry = m_ids.begin(); entry != m_ids.end(); ++entry) {
        if (entry->account == account) {
            entry->expires = expires;
            return entry.key();
        }
    }
    quint32 bits[3];
    QRandomGenerator::system()->fillRange(bits);
    const QString id =
        QString::fromLatin1(QByteArray::fromRawData(reinterpret_cast<const char *>(bits), sizeof bits)
                                .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    m_ids.insert(id, {account, expires});
    return id;
}

std::optional<QUuid> ResultIds::account(const QString &id) const
{
    const auto entry = m_ids.constFind(id);
    if (entry == m_ids.cend() || entry->expires <= m_clock())
        return std::nullopt;
    return entry->account;
}

void ResultIds::forgetExpired()
{
    const double now = m_clock();
    m_ids.removeIf([now](const auto &entry) { return entry.value().expires <= now; });
}
