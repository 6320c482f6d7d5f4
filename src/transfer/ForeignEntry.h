#pragma once

#include "transfer/ImportBatch.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QString>

#include <functional>
#include <stop_token>

// One account as another authenticator's backup describes it, before it is judged.
struct ForeignEntry
{
    QString type; // "totp", "steam", "hotp"... in any case
    QString name;
    QString issuer;
    QString secret;
    QString algorithm;
    QJsonValue digits;
    QJsonValue period;
    QJsonValue counter = {}; // HOTP: the counter of the next code
    // What the backup keeps with the account besides its codes.
    std::optional<AccountIcon> icon = {};
    QList<AccountGroup> groups = {};
    QString note = {};
    bool favourite = false;
    QUuid id = {};

    // Adds the entry to the batch as a token, or as a refusal with the reason.
    void appendTo(ImportBatch &batch) const;
    // Every element of a backup's list of accounts, each read by `entryOf`, in the batch;
    // the elements read so far once `stop` is asked to stop.
    static ImportBatch batchFrom(const QJsonArray &list,
                                 const std::function<ForeignEntry(const QJsonValue &element)> &entryOf,
                                 std::stop_token stop);

private:
    QString label() const;
    // Why the entry's kind cannot become an account here, or an empty text.
    QString refusalReason() const;
};
