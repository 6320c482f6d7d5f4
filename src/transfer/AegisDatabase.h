#pragma once

#include "engine/ImportedToken.h"
#include "transfer/ImportBatch.h"
#include "transfer/TransferError.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>

#include <expected>
#include <stop_token>

// The database inside an Aegis vault: its entries, one per account, as JSON. The vault
// (AegisVault) stores it as it is or sealed under the master key.
namespace AegisDatabase {

// The database holding every token, as compact JSON.
QByteArray write(const QList<ImportedToken> &tokens);
// The database's entries; damaged when it has no list of entries. Reading stops once `stop`
// is asked to.
std::expected<ImportBatch, TransferError> read(const QJsonValue &database, std::stop_token stop);

} // namespace AegisDatabase
