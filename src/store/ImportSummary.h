#pragma once

#include "store/TokenAccount.h"

#include <QList>
#include <QString>

// What adding a batch of accounts did: each token given counts in exactly one group.
struct ImportSummary
{
    struct Refusal
    {
        QString name;
        QString issuer;
        QString reason;
    };

    QList<TokenAccount> added;
    // Tokens whose secret a listed account (or an earlier token of the batch) already holds.
    qsizetype alreadyPresent = 0;
    QList<Refusal> refused;
    // Tokens not tried because the person stopped the import.
    qsizetype notTried = 0;
};
