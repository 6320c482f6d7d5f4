#include "store/CodeTable.h"

#include "engine/TOTPGenerator.h"

#include <QSet>

#include <cmath>

namespace {

// The account's time step at `date`; absent when the period or the date give no
// representable step, and then the account simply has no code.
std::optional<qint64> timeStep(double date, qint64 period)
{
    if (period < 1)
        return std::nullopt;
    const double step = std::floor(date / static_cast<double>(period));
    if (!std::isfinite(step) || step < -0x1p63 || step >= 0x1p63)
        return std::nullopt;
    return static_cast<qint64>(step);
}

} // namespace

bool CodeTable::refresh(const QList<TokenAccount> &accounts, const SecretOf &secretOf, double at)
{
    QHash<QUuid, QString> working = m_codes; // shared until the first real change
    bool changed = false;
    qsizetype kept = 0;
    for (const TokenAccount &account : accounts) {
        if (account.otp.isHotp()) {
            kept += working.contains(account.id);
            continue;
        }
        const std::optional<qint64> step = timeStep(at, account.otp.period);
        const auto current = working.constFind(account.id);
        const bool hasCode = current != working.constEnd();
        if (step && hasCode && m_steps.value(account.id, ~*step) == *step) {
            ++kept;
            continue;
        }
        std::optional<QString> code;
        if (step) {
            m_steps.insert(account.id, *step);
            if (const auto secret = secretOf(account.id)) {
                if (auto generated = TOTPGenerator::code(*secret, at, account.otp))
                    code = std::move(*generated);
            }
        } else {
            m_steps.remove(account.id);
        }
        if (code) {
            ++kept;
            if (!hasCode || *current != *code) {
                working.insert(account.id, *code);
                changed = true;
            }
        } else if (hasCode) {
            working.remove(account.id);
            changed = true;
        }
    }
    // Entries of accounts no longer listed are dropped.
    if (working.size() > kept) {
        QSet<QUuid> listed;
        for (const TokenAccount &account : accounts)
            listed.insert(account.id);
        working.removeIf([&](const auto &entry) { return !listed.contains(entry.key()); });
        changed = true;
    }
    if (changed)
        m_codes = std::move(working);
    return changed;
}

void CodeTable::forget(const QUuid &id)
{
    m_codes.remove(id);
    m_steps.remove(id);
    m_counterCodes.remove(id);
}

void CodeTable::showCounterCode(const QUuid &id, const QString &code)
{
    m_codes.insert(id, code);
    m_counterCodes.insert(id);
}

bool CodeTable::hideCounterCodes()
{
    for (const QUuid &id : std::as_const(m_counterCodes))
        m_codes.remove(id);
    const bool hidden = !m_counterCodes.isEmpty();
    m_counterCodes.clear();
    return hidden;
}
