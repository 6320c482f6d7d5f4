#include "backup/BackupKey.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype digestKeySize = 32;
constexpr qsizetype masterKeySize = 32; // AES-256

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

QString base64(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

} // namespace

const QUuid BackupKey::itemId = QUuid::createUuidV5(QUuid(), u"com.local.Corvane.automaticBackup"_s);

BackupKey BackupKey::withNewDigestKey(const VaultKey &vault)
{
    return {vault, randomBytes(digestKeySize)};
}

std::optional<BackupKey> BackupKey::fromText(const QString &text)
{
    const QJsonObject item = QJsonDocument::fromJson(text.toUtf8()).object();
    const QJsonObject slot = item[u"slot"].toObject();
    BackupKey key{{QByteArray::fromBase64(item[u"masterKey"].toString().toLatin1()),
                   QJsonDocument(slot).toJson(QJsonDocument::Compact)},
                  QByteArray::fromBase64(item[u"digestKey"].toString().toLatin1())};
    if (key.vault.masterKey.size() != masterKeySize || slot.isEmpty() || key.digestKey.size() != digestKeySize)
        return std::nullopt;
    return key;
}

QString BackupKey::toText() const
{
    const QJsonObject item{{u"masterKey"_s, base64(vault.masterKey)},
                           {u"slot"_s, QJsonDocument::fromJson(vault.slot).object()},
                           {u"digestKey"_s, base64(digestKey)}};
    return QString::fromUtf8(QJsonDocument(item).toJson(QJsonDocument::Compact));
}

QByteArray BackupKey::digest(const QList<ImportedToken> &tokens) const
{
    QJsonArray list;
    for (const ImportedToken &token : tokens) {
        QJsonArray groups;
        for (const AccountGroup &group : token.groups)
            groups.append(QJsonArray{group.id.toString(), group.name});
        list.append(QJsonArray{token.name, token.issuer, token.secret, token.otp.period, token.otp.digits,
                               int(token.otp.algorithm), kindName(token.otp.kind), QString::number(token.otp.counter),
                               token.id.toString(), token.icon ? token.icon->hash : QString(), groups, token.note,
                               token.favourite});
    }
    return QMessageAuthenticationCode::hash(QJsonDocument(list).toJson(QJsonDocument::Compact), digestKey,
                                            QCryptographicHash::Sha256);
}
