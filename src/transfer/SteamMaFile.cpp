#include "transfer/SteamMaFile.h"

#include "transfer/ForeignEntry.h"
#include "transfer/TextEncoding.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isAccount(const QJsonValue &account)
{
    return account[u"shared_secret"].isString();
}

// Empty, and so refused, when the secret is not Base64.
ForeignEntry entryOf(const QJsonValue &account)
{
    const auto secret = TextEncoding::fromBase64(account[u"shared_secret"].toString());
    return {u"steam"_s,
            account[u"account_name"].toString(),
            u"Steam"_s,
            secret ? TextEncoding::toBase32(*secret) : QString(),
            {},
            QJsonValue::Undefined,
            QJsonValue::Undefined};
}

// The account of a single file, or every account under "accounts".
QJsonArray accountsOf(const QJsonObject &root)
{
    if (isAccount(root))
        return {root};
    QJsonArray accounts;
    for (const QJsonValue &account : root[u"accounts"].toObject())
        accounts.append(account);
    return accounts;
}

} // namespace

namespace SteamMaFile {

bool recognizes(const ImportContent &content)
{
    const QJsonObject root = content.json.object();
    const QJsonObject accounts = root[u"accounts"].toObject();
    return isAccount(root) || (!accounts.isEmpty() && std::all_of(accounts.begin(), accounts.end(), isAccount));
}

std::expected<ImportBatch, TransferError> read(const ImportContent &content)
{
    return ForeignEntry::batchFrom(accountsOf(content.json.object()), entryOf, content.stop);
}

} // namespace SteamMaFile
