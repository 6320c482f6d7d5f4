#include "store/Intake.h"

#include "engine/LabelText.h"
#include "engine/TOTPGenerator.h"

#include <QCoreApplication>
#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace {

// An account's name when nothing names it.
QString defaultName()
{
    return QCoreApplication::translate("Intake", "验证码");
}
constexpr qsizetype quickAddMinimumLength = 16; // 16 Base32 characters carry 80 bits
constexpr qint64 quickAddPeriod = 30;
constexpr qint64 quickAddDigits = 6;

} // namespace

Intake::Intake(double now, QList<NewAccount> held, qsizetype count)
    : m_now(now),
      m_held(std::move(held)),
      m_count(count)
{}

std::expected<QString, TOTPError> Intake::normalize(const QString &secret)
{
    return TOTPGenerator::normalizeBounded(secret);
}

// The normalised secret, once the generator has computed the account's code from it.
std::expected<QString, StoreError> Intake::validated(const QString &text, const TokenAccount &account) const
{
    auto secret = normalize(text);
    if (!secret)
        return std::unexpected(secret.error());
    const auto code = TOTPGenerator::code(*secret, m_now, account.otp);
    if (!code)
        return std::unexpected(code.error());
    return *secret;
}

// Names and issuers lose control and bidi formatting characters whichever way they come.
TokenAccount Intake::accountFor(const ImportedToken &token)
{
    const QString name = LabelText::cleaned(token.name);
    TokenAccount account{QUuid::createUuid(), name.isEmpty() ? defaultName() : name, LabelText::cleaned(token.issuer),
                         token.otp};
    // The icon's bytes are in its file by now; the groups are the store's by id.
    if (token.icon)
        account.icon = AccountIcon{token.icon->hash, token.icon->type};
    for (const AccountGroup &group : token.groups)
        account.groups.append(group.id);
    account.note = token.note;
    account.favourite = token.favourite;
    return account;
}

std::expected<NewAccount, StoreError> Intake::token(const ImportedToken &token) const
{
    const TokenAccount account = accountFor(token);
    const auto secret = validated(token.secret, account);
    if (!secret)
        return std::unexpected(secret.error());
    return NewAccount{account, *secret};
}

std::expected<NewAccount, StoreError> Intake::quick(const QString &text) const
{
    TokenAccount account{QUuid::createUuid(), defaultName(), QString(), {quickAddPeriod, quickAddDigits}};
    const auto secret = validated(text, account);
    if (!secret)
        return std::unexpected(secret.error());
    if (secret->size() < quickAddMinimumLength)
        return std::unexpected(TOTPError::invalidSecret);
    if (m_count > 0)
        account.name = u"%1 %2"_s.arg(defaultName()).arg(m_count + 1);
    return NewAccount{account, *secret};
}

std::optional<TokenAccount> Intake::holder(const NewAccount &account) const
{
    for (const NewAccount &held : m_held) {
        if (keyOf(held) == keyOf(account))
            return held.account;
    }
    return std::nullopt;
}

Intake::Batch Intake::batch(const QList<ImportedToken> &tokens) const
{
    QSet<Key> present;
    for (const NewAccount &held : m_held)
        present.insert(keyOf(held));
    Batch batch;
    for (const ImportedToken &token : tokens) {
        const auto entry = this->token(token);
        if (!entry) {
            batch.summary.refused.append({token.name, token.issuer, entry.error().description()});
        } else if (present.contains(keyOf(*entry))) {
            ++batch.summary.alreadyPresent;
        } else {
            present.insert(keyOf(*entry));
            batch.accounts.append(*entry);
        }
    }
    return batch;
}

ImportSummary Intake::summarize(const Batch &batch, const AddOutcomes &outcomes)
{
    ImportSummary summary = batch.summary;
    for (qsizetype i = 0; i < batch.accounts.size(); ++i) {
        const TokenAccount &account = batch.accounts.at(i).account;
        if (outcomes.at(i))
            summary.refused.append({account.name, account.issuer, outcomes.at(i)->description()});
        else
            summary.added.append(account);
    }
    return summary;
}
