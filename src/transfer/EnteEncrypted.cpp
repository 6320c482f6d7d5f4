#include "transfer/EnteEncrypted.h"

#include "transfer/OtpauthLinks.h"
#include "transfer/TextEncoding.h"
#include "transfer/VaultCrypto.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int exportVersion = 1;

// The key derivation the export names.
std::expected<KeyDerivation, TransferError> derivation(const QJsonValue &params, const KdfPolicy &policy)
{
    const auto memoryBytes = TextEncoding::positiveCount(params[u"memLimit"]);
    const auto passes = TextEncoding::positiveCount(params[u"opsLimit"]);
    const auto salt = TextEncoding::fromBase64(params[u"salt"].toString());
    if (!memoryBytes || !passes || !salt || salt->isEmpty())
        return std::unexpected(TransferError::Kind::damaged);
    // libsodium counts memory in bytes and uses whole KiB.
    const quint64 memoryKiB = *memoryBytes / 1024;
    if (memoryKiB > policy.maxArgon2MemoryKiB || *passes > policy.maxArgon2WorkKiB / std::max<quint64>(memoryKiB, 1))
        return std::unexpected(TransferError(TransferError::Kind::unsupported,
                                             QCoreApplication::translate("EnteEncrypted", "Argon2 参数过大")));
    return KeyDerivation{
        .function = KeyDerivation::Function::argon2id, .salt = *salt, .cost = *passes, .memoryKiB = memoryKiB};
}

} // namespace

namespace EnteEncrypted {

bool recognizes(const QJsonObject &root)
{
    return root.contains(u"kdfParams") && root.contains(u"encryptedData");
}

std::expected<ImportBatch, TransferError> read(const QJsonObject &root, const DerivedKeys &keys,
                                               const KdfPolicy &policy, std::stop_token stop)
{
    if (root[u"version"].toInt(-1) != exportVersion)
        return std::unexpected(TransferError(TransferError::Kind::unsupported,
                                             QCoreApplication::translate("EnteEncrypted", "Ente 导出版本")));
    if (!keys.hasPassword())
        return std::unexpected(TransferError::Kind::passwordRequired);
    const auto data = TextEncoding::fromBase64(root[u"encryptedData"].toString());
    const auto header = TextEncoding::fromBase64(root[u"encryptionNonce"].toString());
    const auto params = derivation(root[u"kdfParams"], policy);
    if (!params)
        return std::unexpected(params.error());
    if (!data || !header)
        return std::unexpected(TransferError::Kind::damaged);
    const auto key = keys.key(*params);
    if (!key)
        return std::unexpected(key.error());
    const auto plaintext = VaultCrypto::openSecretStream(*key, *header, *data);
    if (!plaintext)
        return std::unexpected(TransferError::Kind::wrongPasswordOrDamaged);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString links = decoder(*plaintext);
    if (decoder.hasError())
        return std::unexpected(TransferError::Kind::damaged);
    return OtpauthLinks::read(links, std::move(stop));
}

} // namespace EnteEncrypted
