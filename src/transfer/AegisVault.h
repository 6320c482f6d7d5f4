#pragma once

#include "engine/ImportedToken.h"
#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/KdfPolicy.h"
#include "transfer/TransferError.h"
#include "transfer/VaultKey.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>

#include <expected>
#include <stop_token>

// Aegis's vault file: JSON with a header of key slots and a database of entries. In an
// encrypted vault a random master key encrypts the database with AES-256-GCM, and each
// password slot holds that key wrapped with AES-256-GCM under an scrypt-derived key.
namespace AegisVault {

bool recognizes(const QJsonObject &root);
// A vault whose database is sealed under password slots.
bool isEncrypted(const QJsonObject &root);

// The key derivation of a new password slot: scrypt at the policy's cost, a fresh salt.
KeyDerivation newSlot(const KdfPolicy &policy = {});
// An encrypted vault with one password slot, holding every token.
std::expected<QByteArray, TransferError> write(const QList<ImportedToken> &tokens, const QString &password,
                                               const KdfPolicy &policy = {});
// The same with the slot's key derived already (off the main thread, say).
std::expected<QByteArray, TransferError> write(const QList<ImportedToken> &tokens, const KeyDerivation &slotDerivation,
                                               const QByteArray &slotKey);

// A master key and its password slot under the slot's derived key.
std::expected<VaultKey, TransferError> newKey(const KeyDerivation &slotDerivation, const QByteArray &slotKey);
// The first password slot's key derivation of an encrypted vault.
std::optional<KeyDerivation> firstSlot(const QByteArray &bytes);
// The master key and that slot, unwrapped with the slot's derived key: wrongPassword when it
// does not open.
std::expected<VaultKey, TransferError> keyOf(const QByteArray &bytes, const QByteArray &slotKey);
// An encrypted vault sealed under the key's master key, with its one password slot.
std::expected<QByteArray, TransferError> write(const QList<ImportedToken> &tokens, const VaultKey &key);
// An encrypted vault opened with its master key, no password needed.
std::expected<ImportBatch, TransferError> readWithMasterKey(const QByteArray &bytes, const QByteArray &masterKey);

// A plain vault, or an encrypted one opened with the password's keys (passwordRequired
// without a password). Reading its entries stops once `stop` is asked to.
std::expected<ImportBatch, TransferError> read(const QJsonObject &root, const DerivedKeys &keys,
                                               const KdfPolicy &policy = {}, std::stop_token stop = {});

} // namespace AegisVault
