#include "transfer/AndOtpBackup.h"

#include "transfer/ForeignEntry.h"

#include <QJsonArray>

#include <algorithm>

namespace {

ForeignEntry entryOf(const QJsonValue &entry)
{
    return {entry[u"type"].toString(),
            entry[u"label"].toString(),
            entry[u"issuer"].toString(),
            entry[u"secret"].toString(),
            entry[u"algorithm"].toString(),
            entry[u"digits"],
            entry[u"period"],
            entry[u"counter"]};
}

bool isEntryList(const QJsonDocument &document)
{
    const QJsonArray list = document.array();
    return document.isArray() && std::all_of(list.begin(), list.end(), [](const QJsonValue &entry) {
               return entry[u"secret"].isString() && entry[u"type"].isString();
           });
}

} // namespace

namespace AndOtpBackup {

bool recognizes(const ImportContent &content)
{
    return !content.json.array().isEmpty() && isEntryList(content.json);
}

std::expected<ImportBatch, TransferError> read(const ImportContent &content)
{
    return ForeignEntry::batchFrom(content.json.array(), entryOf, content.stop);
}

std::expected<ImportBatch, TransferError> readJson(const QByteArray &json, std::stop_token stop)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!isEntryList(document))
        return std::unexpected(TransferError::Kind::damaged);
    return ForeignEntry::batchFrom(document.array(), entryOf, std::move(stop));
}

} // namespace AndOtpBackup
