#include "store/AccountSearch.h"

#include <QRegularExpression>

#include <algorithm>

QStringList AccountSearch::terms(const QString &query)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return query.split(space, Qt::SkipEmptyParts);
}

QList<AccountSearch::Match> AccountSearch::find(const QList<TokenAccount> &accounts, const QStringList &terms)
{
    QList<Match> matches;
    if (terms.isEmpty())
        return matches;
    const QString query = terms.join(u' ');
    for (const TokenAccount &account : accounts) {
        if (!std::ranges::all_of(terms, [&account](const QString &term) { return account.matches(term); }))
            continue;
        Fit fit = Fit::Partial;
        if (account.issuer.compare(query, Qt::CaseInsensitive) == 0)
            fit = Fit::ExactIssuer;
        else if (account.issuer.startsWith(query, Qt::CaseInsensitive))
            fit = Fit::IssuerPrefix;
        matches.append({account, fit});
    }
    std::ranges::stable_sort(matches, {}, &Match::fit);
    return matches;
}

QList<TokenAccount> AccountSearch::named(const QList<TokenAccount> &accounts, const QString &query)
{
    const QList<Match> matches = find(accounts, terms(query));
    QList<TokenAccount> named;
    for (const Match &match : matches) {
        if (match.fit == Fit::ExactIssuer || matches.constFirst().fit != Fit::ExactIssuer)
            named.append(match.account);
    }
    return named;
}
