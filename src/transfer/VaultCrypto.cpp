#include "transfer/VaultCrypto.h"

#include <gcrypt.h>
#include <sodium.h>

#include <algorithm>
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

Cipher aesCipher(int mode, const QByteArray &key, const QByteArray &nonce)
{
    if (key.size() != VaultCrypto::keySize || nonce.isEmpty())
        return nullptr;
    ensureInitialized();
    gcry_cipher_hd_t handle = nullptr;
    if (gcry_cipher_open(&handle, GCRY_CIPHER_AES256, mode, 0) != 0)
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

std::optional<QByteArray> pbkdf2(const QByteArray &password, const QByteArray &salt, quint64 iterations, Hash hash)
{
    if (iterations < 1)
        return std::nullopt;
    return derive(password, GCRY_KDF_PBKDF2, hash == Hash::sha1 ? GCRY_MD_SHA1 : GCRY_MD_SHA256, salt, iterations);
}

// Through libsodium for one lane: its Argon2 gives the same key about twice as fast.
std::optional<QByteArray> argon2id(const QByteArray &password, const QByteArray &salt, quint64 passes,
                                   quint64 memoryKiB, quint64 lanes)
{
    constexpr quint64 limit = std::numeric_limits<quint32>::max();
    if (passes < 1 || passes > limit || lanes < 1 || lanes > 0xffffff || memoryKiB < 8 * lanes || memoryKiB > limit)
        return std::nullopt;
    QByteArray key(VaultCrypto::keySize, Qt::Uninitialized);
    if (lanes == 1) {
        const bool derived =
            sodium_init() >= 0
            && crypto_pwhash(reinterpret_cast<unsigned char *>(key.data()), size_t(key.size()), password.constData(),
                             size_t(password.size()), reinterpret_cast<const unsigned char *>(salt.constData()), passes,
                             size_t(memoryKiB) * 1024, crypto_pwhash_ALG_ARGON2ID13)
                   == 0;
        return derived ? std::optional(key) : std::nullopt;
    }
    ensureInitialized();
    const unsigned long parameters[] = {VaultCrypto::keySize, passes, memoryKiB, lanes};
    gcry_kdf_hd_t handle = nullptr;
    if (gcry_kdf_open(&handle, GCRY_KDF_ARGON2, GCRY_KDF_ARGON2ID, parameters, std::size(parameters),
                      password.constData(), size_t(password.size()), salt.constData(), size_t(salt.size()), nullptr, 0,
                      nullptr, 0)
        != 0)
        return std::nullopt;
    const bool derived =
        gcry_kdf_compute(handle, nullptr) == 0 && gcry_kdf_final(handle, size_t(key.size()), key.data()) == 0;
    gcry_kdf_close(handle);
    return derived ? std::optional(key) : std::nullopt;
}

QByteArray sha256(const QByteArray &data)
{
    ensureInitialized();
    QByteArray digest(gcry_md_get_algo_dlen(GCRY_MD_SHA256), Qt::Uninitialized);
    gcry_md_hash_buffer(GCRY_MD_SHA256, digest.data(), data.constData(), size_t(data.size()));
    return digest;
}

std::optional<Sealed> seal(const QByteArray &key, const QByteArray &plaintext)
{
    Sealed sealed{QByteArray(plaintext.size(), Qt::Uninitialized), randomBytes(nonceSize),
                  QByteArray(tagSize, Qt::Uninitialized)};
    const Cipher cipher = aesCipher(GCRY_CIPHER_MODE_GCM, key, sealed.nonce);
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
    const Cipher cipher = aesCipher(GCRY_CIPHER_MODE_GCM, key, sealed.nonce);
    QByteArray plaintext(sealed.ciphertext.size(), Qt::Uninitialized);
    if (!cipher
        || gcry_cipher_decrypt(cipher.get(), plaintext.data(), size_t(plaintext.size()), sealed.ciphertext.constData(),
                               size_t(sealed.ciphertext.size()))
               != 0
        || gcry_cipher_checktag(cipher.get(), sealed.tag.constData(), size_t(tagSize)) != 0)
        return std::nullopt;
    return plaintext;
}

std::optional<QByteArray> decryptCbc(const QByteArray &key, const QByteArray &iv, const QByteArray &ciphertext)
{
    constexpr qsizetype blockSize = 16;
    if (iv.size() != blockSize || ciphertext.isEmpty() || ciphertext.size() % blockSize != 0)
        return std::nullopt;
    const Cipher cipher = aesCipher(GCRY_CIPHER_MODE_CBC, key, iv);
    QByteArray plaintext(ciphertext.size(), Qt::Uninitialized);
    if (!cipher
        || gcry_cipher_decrypt(cipher.get(), plaintext.data(), size_t(plaintext.size()), ciphertext.constData(),
                               size_t(ciphertext.size()))
               != 0)
        return std::nullopt;
    const int padding = plaintext.back();
    if (padding < 1 || padding > blockSize
        || !std::all_of(plaintext.end() - padding, plaintext.end(), [&](char c) { return c == padding; }))
        return std::nullopt;
    plaintext.chop(padding);
    return plaintext;
}

std::optional<QByteArray> openSecretStream(const QByteArray &key, const QByteArray &header,
                                           const QByteArray &ciphertext)
{
    crypto_secretstream_xchacha20poly1305_state state;
    if (sodium_init() < 0 || key.size() != crypto_secretstream_xchacha20poly1305_KEYBYTES
        || header.size() != crypto_secretstream_xchacha20poly1305_HEADERBYTES
        || ciphertext.size() < qsizetype(crypto_secretstream_xchacha20poly1305_ABYTES)
        || crypto_secretstream_xchacha20poly1305_init_pull(&state,
                                                           reinterpret_cast<const unsigned char *>(header.constData()),
                                                           reinterpret_cast<const unsigned char *>(key.constData()))
               != 0)
        return std::nullopt;
    QByteArray plaintext(ciphertext.size() - crypto_secretstream_xchacha20poly1305_ABYTES, Qt::Uninitialized);
    unsigned char tag = 0;
    if (crypto_secretstream_xchacha20poly1305_pull(
            &state, reinterpret_cast<unsigned char *>(plaintext.data()), nullptr, &tag,
            reinterpret_cast<const unsigned char *>(ciphertext.constData()), size_t(ciphertext.size()), nullptr, 0)
            != 0
        || (tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE
            && tag != crypto_secretstream_xchacha20poly1305_TAG_FINAL))
        return std::nullopt;
    return plaintext;
}

} // namespace VaultCrypto
