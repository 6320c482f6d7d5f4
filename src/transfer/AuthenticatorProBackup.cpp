#include "transfer/AuthenticatorProBackup.h"

#include "transfer/ForeignEntry.h"

#include <QJsonArray>
#include <QJsonObject>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

// The app's numbering: 1 HOTP, 2 TOTP, 3 mOTP, 4 Steam, 5 Yandex; 0 SHA-1, 1 SHA-256, 2 SHA-512.
const std::array<QString, 6> typeNames{u"#0"_s, u"HOTP"_s, u"TOTP"_s, u"mOTP"_s, u"Steam"_s, u"Yandex"_s};
const std::array<QString, 3> algorithmNames{u"SHA1"_s, u"SHA256"_s, u"SHA512"_s};

template <std::size_t size> QString nameOf(const std::array<QString, size> &names, const QJsonValue &code)
{
    const int number = code.toInt(-1);
    return number >= 0 && std::size_t(number) < size ? names[std::size_t(number)] : u"#%1"_s.arg(code.toDouble());
}

ForeignEntry entryOf(const QJsonValue &entry)
{
    return {nameOf(typeNames, entry[u"Type"]),
            entry[u"Username"].toString(),
            entry[u"Issuer"].toString(),
            entry[u"Secret"].toString(),
            nameOf(algorithmNames, entry[u"Algorithm"]),
            entry[u"Digits"],
            entry[u"Period"],
            entry[u"Counter"]};
}

bool isBackup(const QJsonDocument &document)
{
    return document[u"Authenticators"].isArray();
}

} // namespace

namespace AuthenticatorProBackup {

bool recognizes(const ImportContent &content)
{
    return isBackup(content.json);
}

std::expected<ImportBatch, TransferError> read(const ImportContent &content)
{
    return ForeignEntry::batchFrom(content.json[u"Authenticators"].toArray(), entryOf, content.stop);
}

std::expected<ImportBatch, TransferError> readJson(const QByteArray &json, std::stop_token stop)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!isBackup(document))
        return std::unexpected(TransferError::Kind::damaged);
    return ForeignEntry::batchFrom(document[u"Authenticators"].toArray(), entryOf, std::move(stop));
}

} // namespace AuthenticatorProBackup
