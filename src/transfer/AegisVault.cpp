#include "transfer/AegisVault.h"

#include "transfer/AegisDatabase.h"
#include "transfer/TextEncoding.h"
#include "transfer/VaultCrypto.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int vaultVersion = 1;
constexpr int passwordSlotType = 1;
constexpr quint64 scryptBlockSize = 8; // the only one libgcrypt offers, and Aegis's
constexpr qsizetype saltSize = 32;

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

QJsonObject sealParams(const VaultCrypto::Sealed &sealed)
{
    return {{u"nonce"_s, hex(sealed.nonce)}, {u"tag"_s, hex(sealed.tag)}};
}

// The sealed box whose nonce and tag `params` holds in hexadecimal.
std::optional<VaultCrypto::Sealed> sealedFrom(const QJsonValue &params, QByteArray ciphertext)
{
    const auto nonce = TextEncoding::fromHex(params[u"nonce"].toString());
    const auto tag = TextEncoding::fromHex(params[u"tag"].toString());
    if (!params.isObject() || !nonce || !tag)
        return std::nullopt;
    return VaultCrypto::Sealed{std::move(ciphertext), *nonce, *tag};
}

std::optional<QJsonObject> passwordSlot(const KeyDerivation &slot, const QByteArray &slotKey,
                                        const QByteArray &masterKey)
{
    const auto wrapped = VaultCrypto::seal(slotKey, masterKey);
    if (!wrapped)
        return std::nullopt;
    return QJsonObject{{u"type"_s, passwordSlotType},
                       {u"uuid"_s, QUuid::createUuid().toString(QUuid::WithoutBraces)},
                       {u"key"_s, hex(wrapped->ciphertext)},
                       {u"key_params"_s, sealParams(*wrapped)},
                       {u"n"_s, qint64(slot.cost)},
                       {u"r"_s, qint64(scryptBlockSize)},
                       {u"p"_s, qint64(slot.parallelism)},
                       {u"salt"_s, hex(slot.salt)},
                       {u"repaired"_s, true},
                       {u"is_backup"_s, false}};
}

// The master key from the first password slot the password opens.
std::expected<QByteArray, TransferError> unlock(const QJsonValue &slots, const DerivedKeys &keys,
                                                const KdfPolicy &policy)
{
    if (!slots.isArray())
        return std::unexpected(TransferError::Kind::damaged);
    quint64 tried = 0;
    for (const QJsonValue &slot : slots.toArray()) {
        if (slot[u"type"].toInt(-1) != passwordSlotType)
            continue;
        const auto n = TextEncoding::positiveCount(slot[u"n"]);
        const auto r = TextEncoding::positiveCount(slot[u"r"]);
        const auto p = TextEncoding::positiveCount(slot[u"p"]);
        const auto salt = TextEncoding::fromHex(slot[u"salt"].toString());
        const auto key = TextEncoding::fromHex(slot[u"key"].toString());
        if (!n || !r || !p || !salt || !key)
            return std::unexpected(TransferError::Kind::damaged);
        if (*r != scryptBlockSize || *n > policy.maxScryptN || *p > policy.maxScryptP)
            return std::unexpected(TransferError(TransferError::Kind::unsupported,
                                                 QCoreApplication::translate("AegisVault", "scrypt 参数过大")));
        if (++tried > policy.maxPasswordSlots)
            break;
        const auto wrapped = sealedFrom(slot[u"key_params"], *key);
        if (!wrapped)
            return std::unexpected(TransferError::Kind::damaged);
        const auto slotKey =
            keys.key({.function = KeyDerivation::Function::scrypt, .salt = *salt, .cost = *n, .parallelism = *p});
        if (!slotKey)
            return std::unexpected(slotKey.error());
        if (auto masterKey = VaultCrypto::open(*slotKey, *wrapped);
            masterKey && masterKey->size() == VaultCrypto::keySize)
            return *masterKey;
    }
    if (tried == 0)
        return std::unexpected(
            TransferError(TransferError::Kind::unsupported, QCoreApplication::translate("AegisVault", "没有密码槽")));
    return std::unexpected(TransferError::Kind::wrongPassword);
}

QJsonObject firstPasswordSlot(const QByteArray &bytes)
{
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    for (const QJsonValue &slot : root[u"header"][u"slots"].toArray()) {
        if (slot[u"type"].toInt(-1) == passwordSlotType)
            return slot.toObject();
    }
    return {};
}

TransferError encryptionFailed()
{
    return TransferError(TransferError::Kind::fileError, QCoreApplication::translate("AegisVault", "加密失败"));
}

// The entries of an encrypted vault's database, opened with its master key.
std::expected<ImportBatch, TransferError> openDatabase(const QJsonObject &root, const QByteArray &masterKey,
                                                       std::stop_token stop = {})
{
    const auto ciphertext = TextEncoding::fromBase64(root[u"db"].toString());
    const auto sealed = ciphertext ? sealedFrom(root[u"header"][u"params"], *ciphertext) : std::nullopt;
    if (!sealed)
        return std::unexpected(TransferError::Kind::damaged);
    const auto plaintext = VaultCrypto::open(masterKey, *sealed);
    if (!plaintext)
        return std::unexpected(TransferError::Kind::damaged);
    return AegisDatabase::read(QJsonDocument::fromJson(*plaintext).object(), std::move(stop));
}

std::expected<ImportBatch, TransferError> readEncrypted(const QJsonObject &root, const DerivedKeys &keys,
                                                        const KdfPolicy &policy, std::stop_token stop)
{
    if (!keys.hasPassword())
        return std::unexpected(TransferError::Kind::passwordRequired);
    const QJsonValue header = root[u"header"];
    const auto ciphertext = TextEncoding::fromBase64(root[u"db"].toString());
    const auto sealed = ciphertext ? sealedFrom(header[u"params"], *ciphertext) : std::nullopt;
    if (!root[u"db"].isString() || !sealed)
        return std::unexpected(TransferError::Kind::damaged);
    const auto masterKey = unlock(header[u"slots"], keys, policy);
    if (!masterKey)
        return std::unexpected(masterKey.error());
    return openDatabase(root, *masterKey, std::move(stop));
}

} // namespace

namespace AegisVault {

bool recognizes(const QJsonObject &root)
{
    return root.contains(u"version") && root[u"header"].isObject() && root.contains(u"db");
}

bool isEncrypted(const QJsonObject &root)
{
    const QJsonValue header = root[u"header"];
    return recognizes(root) && !(header[u"slots"].isNull() && header[u"params"].isNull());
}

KeyDerivation newSlot(const KdfPolicy &policy)
{
    return {.function = KeyDerivation::Function::scrypt,
            .salt = VaultCrypto::randomBytes(saltSize),
            .cost = policy.scryptN,
            .parallelism = 1};
}

std::expected<QByteArray, TransferError> write(const QList<ImportedToken> &tokens, const QString &password,
                                               const KdfPolicy &policy)
{
    const KeyDerivation slot = newSlot(policy);
    const auto slotKey = slot.derive(password.toUtf8());
    if (!slotKey)
        return std::unexpected(encryptionFailed());
    return write(tokens, slot, *slotKey);
}

std::expected<QByteArray, TransferError> write(const QList<ImportedToken> &tokens, const KeyDerivation &slotDerivation,
                                               const QByteArray &slotKey)
{
    const auto key = newKey(slotDerivation, slotKey);
    if (!key)
        return std::unexpected(key.error());
    return write(tokens, *key);
}

std::expected<VaultKey, TransferError> newKey(const KeyDerivation &slotDerivation, const QByteArray &slotKey)
{
    const QByteArray masterKey = VaultCrypto::randomBytes(VaultCrypto::keySize);
    const auto slot = passwordSlot(slotDerivation, slotKey, masterKey);
    if (!slot)
        return std::unexpected(encryptionFailed());
    return VaultKey{masterKey, QJsonDocument(*slot).toJson(QJsonDocument::Compact)};
}

std::optional<KeyDerivation> firstSlot(const QByteArray &bytes)
{
    const QJsonObject slot = firstPasswordSlot(bytes);
    const auto n = TextEncoding::positiveCount(slot[u"n"]);
    const auto p = TextEncoding::positiveCount(slot[u"p"]);
    const auto salt = TextEncoding::fromHex(slot[u"salt"].toString());
    const KdfPolicy policy;
    if (!n || !p || !salt || *n > policy.maxScryptN || *p > policy.maxScryptP
        || TextEncoding::positiveCount(slot[u"r"]) != scryptBlockSize)
        return std::nullopt;
    return KeyDerivation{.function = KeyDerivation::Function::scrypt, .salt = *salt, .cost = *n, .parallelism = *p};
}

std::expected<VaultKey, TransferError> keyOf(const QByteArray &bytes, const QByteArray &slotKey)
{
    const QJsonObject slot = firstPasswordSlot(bytes);
    const auto key = TextEncoding::fromHex(slot[u"key"].toString());
    const auto wrapped = key ? sealedFrom(slot[u"key_params"], *key) : std::nullopt;
    if (!wrapped)
        return std::unexpected(TransferError::Kind::damaged);
    const auto masterKey = VaultCrypto::open(slotKey, *wrapped);
    if (!masterKey || masterKey->size() != VaultCrypto::keySize)
        return std::unexpected(TransferError::Kind::wrongPassword);
    return VaultKey{*masterKey, QJsonDocument(slot).toJson(QJsonDocument::Compact)};
}

std::expected<QByteArray, TransferError> write(const QList<ImportedToken> &tokens, const VaultKey &key)
{
    const QJsonDocument slot = QJsonDocument::fromJson(key.slot);
    const auto sealed = VaultCrypto::seal(key.masterKey, AegisDatabase::write(tokens));
    if (!slot.isObject() || !sealed)
        return std::unexpected(encryptionFailed());
    const QJsonObject header{{u"slots"_s, QJsonArray{slot.object()}}, {u"params"_s, sealParams(*sealed)}};
    const QJsonObject root{{u"version"_s, vaultVersion},
                           {u"header"_s, header},
                           {u"db"_s, QString::fromLatin1(sealed->ciphertext.toBase64())}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::expected<ImportBatch, TransferError> readWithMasterKey(const QByteArray &bytes, const QByteArray &masterKey)
{
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    if (root[u"version"].toInt(-1) != vaultVersion || !isEncrypted(root))
        return std::unexpected(TransferError::Kind::damaged);
    return openDatabase(root, masterKey);
}

std::expected<ImportBatch, TransferError> read(const QJsonObject &root, const DerivedKeys &keys,
                                               const KdfPolicy &policy, std::stop_token stop)
{
    if (root[u"version"].toInt(-1) != vaultVersion)
        return std::unexpected(TransferError(TransferError::Kind::unsupported,
                                             QCoreApplication::translate("AegisVault", "Aegis 文件版本")));
    if (!isEncrypted(root))
        return AegisDatabase::read(root[u"db"].toObject(), std::move(stop));
    return readEncrypted(root, keys, policy, std::move(stop));
}

} // namespace AegisVault
