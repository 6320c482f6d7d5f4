#pragma once

#include <QByteArray>

#include <optional>

// The primitives the backup formats are built from, from libgcrypt (random bytes, key
// derivation, AES-256 in GCM with a 128-bit tag and in CBC) and libsodium (one-lane
// Argon2id, Ente's XChaCha20-Poly1305 secret stream). Keys are 256 bits.
namespace VaultCrypto {

constexpr qsizetype keySize = 32;
constexpr qsizetype nonceSize = 12;
constexpr qsizetype tagSize = 16;

enum class Hash {
    sha1,
    sha256,
};

struct Sealed
{
    QByteArray ciphertext;
    QByteArray nonce;
    QByteArray tag;
};

QByteArray randomBytes(qsizetype size);

// Each key derivation is absent when its parameters are out of range or it fails.
// scrypt with r = 8 (the only block size libgcrypt offers).
std::optional<QByteArray> scrypt(const QByteArray &password, const QByteArray &salt, quint64 n, quint64 p);
std::optional<QByteArray> pbkdf2(const QByteArray &password, const QByteArray &salt, quint64 iterations, Hash hash);
std::optional<QByteArray> argon2id(const QByteArray &password, const QByteArray &salt, quint64 passes,
                                   quint64 memoryKiB, quint64 lanes);
QByteArray sha256(const QByteArray &data);

// Encrypts under a fresh random nonce.
std::optional<Sealed> seal(const QByteArray &key, const QByteArray &plaintext);
// The plaintext, or absent when the key is wrong or anything was changed.
std::optional<QByteArray> open(const QByteArray &key, const Sealed &sealed);
// AES-256-CBC with PKCS #7 padding; absent when the padding is not (a wrong key, most likely).
std::optional<QByteArray> decryptCbc(const QByteArray &key, const QByteArray &iv, const QByteArray &ciphertext);
// A libsodium secret stream of one message, tagged MESSAGE (Ente's current writer) or FINAL
// (older ones); absent when the key is wrong, anything was changed or added (a chunk after
// the first fails its authentication), or the tag is another.
std::optional<QByteArray> openSecretStream(const QByteArray &key, const QByteArray &header,
                                           const QByteArray &ciphertext);

} // namespace VaultCrypto
