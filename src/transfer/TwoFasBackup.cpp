#include "transfer/TwoFasBackup.h"

#include "transfer/ForeignEntry.h"
#include "transfer/TextEncoding.h"
#include "transfer/VaultCrypto.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Encrypted
{
    VaultCrypto::Sealed sealed;
    QByteArray salt;
};

// "ciphertext-and-tag:salt:nonce", each in Base64.
std::optional<Encrypted> encryptedFrom(const QJsonValue &value)
{
    const QStringList parts = value.toString().split(u':');
    if (parts.size() != 3)
        return std::nullopt;
    const auto data = TextEncoding::fromBase64(parts[0]);
    const auto salt = TextEncoding::fromBase64(parts[1]);
    const auto nonce = TextEncoding::fromBase64(parts[2]);
    if (!data || !salt || !nonce || data->size() < VaultCrypto::tagSize)
        return std::nullopt;
    const qsizetype split = data->size() - VaultCrypto::tagSize;
    return Encrypted{{data->first(split), *nonce, data->sliced(split)}, *salt};
}

// The plaintext; wrongPasswordOrDamaged when the box does not open.
std::expected<QByteArray, TransferError> decrypt(const Encrypted &encrypted, const DerivedKeys &keys,
                                                 const KdfPolicy &policy)
{
    const auto key = keys.key(
        {.function = KeyDerivation::Function::pbkdf2Sha256, .salt = encrypted.salt, .cost = policy.twoFasIterations});
    if (!key)
        return std::unexpected(key.error());
    auto plaintext = VaultCrypto::open(*key, encrypted.sealed);
    if (!plaintext)
        return std::unexpected(TransferError::Kind::wrongPasswordOrDamaged);
    return std::move(*plaintext);
}

// The error for a box that did not open: the reference opens with the right password only,
// so a failure after it is damage.
TransferError failure(const TransferError &error, TransferError::Kind boxKind)
{
    return error.kind() == TransferError::Kind::wrongPasswordOrDamaged ? TransferError(boxKind) : error;
}

// The backup's groups by their id: 2FAS names them with a uuid, kept where it is one.
using GroupNames = QHash<QString, AccountGroup>;

GroupNames groupsOf(const QJsonObject &root)
{
    GroupNames groups;
    for (const QJsonValue &group : root[u"groups"].toArray()) {
        const QString name = group[u"name"].toString();
        if (group[u"id"].isString() && !name.isEmpty())
            groups.insert(group[u"id"].toString(), {QUuid::fromString(group[u"id"].toString()), name});
    }
    return groups;
}

ForeignEntry entryOf(const QJsonValue &service, const GroupNames &groups)
{
    const QJsonValue otp = service[u"otp"];
    const QString type = otp[u"tokenType"].isString() ? otp[u"tokenType"].toString() : u"totp"_s;
    const QString issuer = otp[u"issuer"].isString() ? otp[u"issuer"].toString() : service[u"name"].toString();
    ForeignEntry entry{type,
                       otp[u"account"].toString(),
                       issuer,
                       service[u"secret"].toString(),
                       otp[u"algorithm"].toString(),
                       otp[u"digits"],
                       otp[u"period"],
                       otp[u"counter"]};
    if (const auto group = groups.constFind(service[u"groupId"].toString()); group != groups.cend())
        entry.groups.append(*group);
    return entry;
}

ImportBatch batchOf(const QJsonArray &services, const QJsonObject &root, std::stop_token stop)
{
    const GroupNames groups = groupsOf(root);
    return ForeignEntry::batchFrom(
        services, [&](const QJsonValue &service) { return entryOf(service, groups); }, std::move(stop));
}

std::expected<ImportBatch, TransferError> readEncrypted(const QJsonObject &root, const DerivedKeys &keys,
                                                        const KdfPolicy &policy, std::stop_token stop)
{
    if (!keys.hasPassword())
        return std::unexpected(TransferError::Kind::passwordRequired);
    const auto services = encryptedFrom(root[u"servicesEncrypted"]);
    if (!services)
        return std::unexpected(TransferError::Kind::damaged);
    const auto reference = encryptedFrom(root[u"reference"]);
    if (reference) {
        if (const auto checked = decrypt(*reference, keys, policy); !checked)
            return std::unexpected(failure(checked.error(), TransferError::Kind::wrongPassword));
    }
    const auto plaintext = decrypt(*services, keys, policy);
    if (!plaintext)
        return std::unexpected(
            failure(plaintext.error(), reference ? TransferError::Kind::damaged : TransferError::Kind::wrongPassword));
    const QJsonDocument document = QJsonDocument::fromJson(*plaintext);
    if (!document.isArray())
        return std::unexpected(TransferError::Kind::damaged);
    return batchOf(document.array(), root, std::move(stop));
}

} // namespace

namespace TwoFasBackup {

bool recognizes(const QJsonObject &root)
{
    return root.contains(u"schemaVersion") && (root[u"services"].isArray() || root.contains(u"servicesEncrypted"));
}

bool isEncrypted(const QJsonObject &root)
{
    return recognizes(root) && root.contains(u"servicesEncrypted");
}

std::expected<ImportBatch, TransferError> read(const QJsonObject &root, const DerivedKeys &keys,
                                               const KdfPolicy &policy, std::stop_token stop)
{
    if (root.contains(u"servicesEncrypted"))
        return readEncrypted(root, keys, policy, std::move(stop));
    return batchOf(root[u"services"].toArray(), root, std::move(stop));
}

} // namespace TwoFasBackup
