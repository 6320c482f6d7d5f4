#pragma once

#include "transfer/ImportBatch.h"

#include <QString>

// The one text a password manager keeps for an account's codes: an otpauth link,
// "steam://SECRET" or a bare Base32 secret.
namespace TotpField {

// Adds the account the field describes to the batch, or refuses it with the reason. The
// item's `name` and `issuer` fill in what the field does not say.
void appendTo(ImportBatch &batch, const QString &field, const QString &name, const QString &issuer);

} // namespace TotpField
