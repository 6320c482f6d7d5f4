#pragma once

#include "store/TokenAccount.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

// The current code of every listed account: a function of the accounts, their secrets and the
// time. Each account's last time step is remembered, so a refresh within the same step costs
// two look-ups and no generator call. A counter-based account has a code only once one was
// asked for and shown; a refresh never computes one.
class CodeTable
{
public:
    using SecretOf = std::function<std::optional<QString>(const QUuid &id)>;

    const QHash<QUuid, QString> &codes() const { return m_codes; }
    // Recomputes the code of every account whose time step changed or that has none, and drops
    // the codes of accounts no longer listed. True when the codes changed.
    bool refresh(const QList<TokenAccount> &accounts, const SecretOf &secretOf, double at);
    // Forgets the account's code and time step.
    void forget(const QUuid &id);
    // Shows a counter-based account's code, until hideCounterCodes.
    void showCounterCode(const QUuid &id, const QString &code);
    // Drops every shown counter-based code; true when there was one.
    bool hideCounterCodes();

private:
    QHash<QUuid, QString> m_codes;
    QHash<QUuid, qint64> m_steps; // the step of each account's last attempt
    QSet<QUuid> m_counterCodes; // the counter-based accounts whose code is shown
};
