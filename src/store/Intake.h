#pragma once

#include "engine/ImportedToken.h"
#include "store/ImportSummary.h"
#include "store/NewAccount.h"

#include <expected>
#include <optional>

// Turns what a person or a file gives into accounts to store: a normalised secret the
// generator accepts, names without control or bidi characters, the default name where none is
// given, and the duplicate check. Pure: it is told the time and the secrets already held.
class Intake
{
public:
    // `held`: the accounts whose secret is known, listed ones first, then those being stored;
    // `count`: how many accounts are listed or being stored.
    Intake(double now, QList<NewAccount> held, qsizetype count);

    // The secret as it is validated, stored and compared; refused when it is longer than
    // any account takes.
    static std::expected<QString, TOTPError> normalize(const QString &secret);

    // The account an add sheet's token becomes; no duplicate check.
    std::expected<NewAccount, StoreError> token(const ImportedToken &token) const;
    // The quick entry's account for a bare secret: 30 s, 6 digits, the next default name.
    std::expected<NewAccount, StoreError> quick(const QString &text) const;
    // The account that already holds the new account's secret, if any. A counter-based and a
    // time-based account with one secret are two accounts: their codes differ.
    std::optional<TokenAccount> holder(const NewAccount &account) const;

    struct Batch
    {
        QList<NewAccount> accounts; // to store, in order
        ImportSummary summary; // so far: duplicates and refusals
    };
    // Every token whose secret is valid and held neither already nor by an earlier token.
    Batch batch(const QList<ImportedToken> &tokens) const;
    // The batch's summary once the keychain answered each of its accounts.
    static ImportSummary summarize(const Batch &batch, const AddOutcomes &outcomes);

private:
    // What tells accounts apart for the duplicate check: the secret, and whether it counts.
    using Key = std::pair<bool, QString>;
    static Key keyOf(const NewAccount &account) { return {account.account.otp.isHotp(), account.secret}; }
    std::expected<QString, StoreError> validated(const QString &text, const TokenAccount &account) const;
    static TokenAccount accountFor(const ImportedToken &token);

    double m_now;
    QList<NewAccount> m_held;
    qsizetype m_count;
};
