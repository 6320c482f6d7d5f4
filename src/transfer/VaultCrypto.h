#pragma once

#include <QByteArray>

#include <optional>

// The primitives the backup formats are built from, all from libgcrypt: random bytes,
// scrypt and PBKDF2-HMAC-SHA256 key derivation, AES-256-GCM with a 96-bit nonce and a
// 128-bit tag.
namespace VaultCrypto {

constexpr qsizetype keySize = 32;
constexpr qsizetype nonceSize = 12;
constexpr qsizetype tagSize = 16;

struct Sealed
{
    QByteArray ciphertext;
    QByteArray nonce;
    QByteArray tag;
};

QByteArray randomBytes(qsizetype size);

// scrypt with r = 8 (the only block size libgcrypt offers); absent when it fails.
std::optional<QByteArray> scrypt(const QByteArray &password, const QByteArray &salt, quint64 n, quint64 p);
std::optional<QByteArray> pbkdf2Sha256(const QByteArray &password, const QByteArray &salt, quint64 iterations);

// Encrypts under a fresh random nonce.
std::optional<Sealed> seal(const QByteArray &key, const QByteArray &plaintext);
// The plaintext, or absent when the key is wrong or anything was changed.
std::optional<QByteArray> open(const QByteArray &key, const Sealed &sealed);

} // namespace VaultCrypto
