#pragma once

#include "engine/ImportedToken.h"

#include <QList>
#include <QString>

// What a backup file holds: the accounts that can be added, and the entries that cannot,
// each with the reason.
struct ImportBatch
{
    struct Refusal
    {
        QString label;
        QString reason;

        bool operator==(const Refusal &) const = default;
    };

    // The most entries one import takes: more is no one's authenticator, and would keep the
    // keychain busy for minutes.
    static constexpr qsizetype maxEntries = 5000;

    QList<ImportedToken> tokens;
    QList<Refusal> refused;
    // Tokens whose secret is already listed, or given earlier in the batch.
    QList<ImportedToken> present;
    // The format the file was read as, for the import summary: "Aegis 备份"...
    QString format = {};

    qsizetype size() const { return tokens.size() + refused.size() + present.size(); }

    // How an account is named in lists and refusals: "Issuer (name)", or whichever is set.
    static QString label(const QString &name, const QString &issuer);

    // Takes the token when a code can be computed from it, otherwise refuses it.
    void offer(const ImportedToken &token, const QString &label);
    // Moves the tokens whose secret one of `listed` (or an earlier token) holds to `present`.
    void setAsidePresent(const QList<ImportedToken> &listed);
};
