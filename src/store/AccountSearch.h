#pragma once

#include "store/TokenAccount.h"

#include <QList>
#include <QStringList>

// Finds accounts by what a person types, for the desktop's search, KRunner and the terminal:
// every term must find the account as the panel's filter does (name or issuer, ignoring case).
// The best fits come first: an issuer equal to the whole query, then an issuer that starts
// with it, then the rest, each in list order.
class AccountSearch
{
public:
    enum class Fit { ExactIssuer, IssuerPrefix, Partial };
    struct Match
    {
        TokenAccount account;
        Fit fit;
    };

    // The terms of a query: its words, split at white space.
    static QStringList terms(const QString &query);
    // The accounts every term finds, best first. No terms find nothing.
    static QList<Match> find(const QList<TokenAccount> &accounts, const QStringList &terms);
    // The accounts a query names: those whose issuer it equals when there are any, else
    // every match. One account is an answer; several are ambiguous.
    static QList<TokenAccount> named(const QList<TokenAccount> &accounts, const QString &query);
};
