#include "transfer/VaultCrypto.h"

#include <gcrypt.h>

#include <memory>

namespace {

// libsecret may have set the library up already; otherwise it is set up here, once.
void ensureInitialized()
{
    if (gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P))
        return;
    gcry_check_version(nullptr);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
}

struct CipherCloser
{
    void operator()(gcry_cipher_hd_t handle) const { gcry_cipher_close(handle); }
};
using Cipher = std::unique_ptr<std::remove_pointer_t<gcry_cipher_hd_t>, CipherCloser>;

Cipher gcmCipher(const QByteArray &key, const QByteArray &nonce)
{
    if (key.size() != VaultCrypto::keySize || nonce.isEmpty())
        return nullptr;
    ensureInitialized();
    gcry_cipher_hd_t handle = nullptr;
    if (gcry_cipher_open(&handle, GCRY_CIPHER_AES256, GCRY_CIPHER_MODE_GCM, 0) != 0)
        return nullptr;
    Cipher cipher(handle);
    if (gcry_cipher_setkey(handle, key.constData(), size_t(key.size())) != 0
        || gcry_cipher_setiv(handle, nonce.constData(), size_t(nonce.size())) != 0)
        return nullptr;
    return cipher;
}

std::optional<QByteArray> derive(const QByteArray &password, int algorithm, int subalgorithm, const QByteArray &salt,
                                 quint64 iterations)
{
    ensureInitialized();
    QByteArray key(VaultCrypto::keySize, Qt::Uninitialized);
    // libgcrypt refuses an empty passphrase buffer pointer, not an empty passphrase.
    const char empty = 0;
    if (gcry_kdf_derive(password.isEmpty() ? &empty : password.constData(), size_t(password.size()), algorithm,
                        subalgorithm, salt.constData(), size_t(salt.size()), iterations, size_t(key.size()), key.data())
        != 0)
        return std::nullopt;
    return key;
}

} // namespace

namespace VaultCrypto {

QByteArray randomBytes(qsizetype size)
{
    ensureInitialized();
    QByteArray bytes(size, Qt::Uninitialized);
    gcry_randomize(bytes.data(), size_t(size), GCRY_STRONG_RANDOM);
    return bytes;
}

std::optional<QByteArray> scrypt(const QByteArray &password, const QByteArray &salt, quint64 n, quint64 p)
{
    if (n < 2 || n > quint64(std::numeric_limits<int>::max()) || (n & (n - 1)) != 0 || p < 1)
        return std::nullopt;
    // For scrypt libgcrypt takes N as the sub-algorithm and p as the iteration count.
    return derive(password, GCRY_KDF_SCRYPT, int(n), salt, p);
}

std::optional<QByteArray> pbkdf2Sha256(const QByteArray &password, const QByteArray &salt, quint64 iterations)
{
    if (iterations < 1)
        return std::nullopt;
    return derive(password, GCRY_KDF_PBKDF2, GCRY_MD_SHA256, salt, iterations);
}

std::optional<Sealed> seal(const QByteArray &key, const QByteArray &plaintext)
{
    Sealed sealed{QByteArray(plaintext.size(), Qt::Uninitialized), randomBytes(nonceSize),
                  QByteArray(tagSize, Qt::Uninitialized)};
    const Cipher cipher = gcmCipher(key, sealed.nonce);
    if (!cipher
        || gcry_cipher_encrypt(cipher.get(), sealed.ciphertext.data(), size_t(sealed.ciphertext.size()),
                               plaintext.constData(), size_t(plaintext.size()))
               != 0
        || gcry_cipher_gettag(cipher.get(), sealed.tag.data(), size_t(tagSize)) != 0)
        return std::nullopt;
    return sealed;
}

std::optional<QByteArray> open(const QByteArray &key, const Sealed &sealed)
{
    if (sealed.tag.size() != tagSize)
        return std::nullopt;
    const Cipher cipher = gcmCipher(key, sealed.nonce);
    QByteArray plaintext(sealed.ciphertext.size(), Qt::Uninitialized);
    if (!cipher
        || gcry_cipher_decrypt(cipher.get(), plaintext.data(), size_t(plaintext.size()), sealed.ciphertext.constData(),
                               size_t(sealed.ciphertext.size()))
               != 0
        || gcry_cipher_checktag(cipher.get(), sealed.tag.constData(), size_t(tagSize)) != 0)
        return std::nullopt;
    return plaintext;
}

} // namespace VaultCrypto
