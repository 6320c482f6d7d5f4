#include "store/TokenAccount.h"

#include "engine/JsonInteger.h"

#include <QHashFunctions>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// SHA1 when the member is missing; absent when it is there but names no known hash.
std::optional<HashAlgorithm> algorithmFrom(const QJsonValue &value)
{
    if (value.isUndefined())
        return HashAlgorithm::Sha1;
    return value.isString() ? algorithmFromName(value.toString()) : std::nullopt;
}

// The kind and, for HOTP, the counter: TOTP or Steam when "type" is missing (by "steam");
// absent when "type" is there but is not "hotp" with a counter. The counter is a decimal
// string, since a JSON number cannot hold every 64-bit value exactly.
std::optional<std::pair<OtpKind, quint64>> kindFrom(const QJsonObject &object, bool steam)
{
    const QJsonValue type = object.value(u"type"_s);
    if (type.isUndefined())
        return std::pair(steam ? OtpKind::Steam : OtpKind::Totp, quint64(0));
    const QJsonValue counterText = object.value(u"counter"_s);
    if (type.toString() != u"hotp" || !counterText.isString() || steam)
        return std::nullopt;
    const QString text = counterText.toString();
    bool ok = !text.isEmpty()
              && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit() && c.unicode() < 0x80; });
    const quint64 counter = ok ? text.toULongLong(&ok) : 0;
    if (!ok)
        return std::nullopt;
    return std::pair(OtpKind::Hotp, counter);
}

bool isIconHash(const QString &text)
{
    return text.size() == 64
           && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit() || (c >= u'a' && c <= u'f'); });
}

// The icon, absent when none is recorded; false when "icon" or "iconType" is malformed.
bool readIcon(const QJsonObject &object, std::optional<AccountIcon> &icon)
{
    const QJsonValue hash = object.value(u"icon"_s);
    const QJsonValue typeName = object.value(u"iconType"_s);
    if (hash.isUndefined() && typeName.isUndefined())
        return true;
    const auto type = AccountIcon::typeFromName(typeName.toString());
    if (!isIconHash(hash.toString()) || !type)
        return false;
    icon = AccountIcon{hash.toString(), *type};
    return true;
}

bool readGroups(const QJsonValue &value, QList<QUuid> &groups)
{
    if (value.isUndefined())
        return true;
    if (!value.isArray())
        return false;
    for (const QJsonValue &element : value.toArray()) {
        const auto id = TokenAccount::idFromText(element.toString());
        if (!id)
            return false;
        groups.append(*id);
    }
    return true;
}

// Icon, groups, note and favourite: false when one of them is malformed.
bool readDetails(const QJsonObject &object, TokenAccount &account)
{
    const QJsonValue note = object.value(u"note"_s);
    const QJsonValue favourite = object.value(u"favourite"_s);
    if (!(note.isUndefined() || note.isString()) || !(favourite.isUndefined() || favourite.isBool()))
        return false;
    account.note = note.toString();
    account.favourite = favourite.toBool();
    return readIcon(object, account.icon) && readGroups(object.value(u"groups"_s), account.groups);
}

void writeDetails(const TokenAccount &account, QJsonObject &object)
{
    if (account.icon) {
        object.insert(u"icon"_s, account.icon->hash);
        object.insert(u"iconType"_s, AccountIcon::typeName(account.icon->type));
    }
    if (!account.groups.isEmpty()) {
        QJsonArray groups;
        for (const QUuid &id : account.groups)
            groups.append(TokenAccount::idText(id));
        object.insert(u"groups"_s, groups);
    }
    if (!account.note.isEmpty())
        object.insert(u"note"_s, account.note);
    if (account.favourite)
        object.insert(u"favourite"_s, true);
}

} // namespace

bool TokenAccount::matches(const QString &term, const QList<AccountGroup> &groups) const
{
    return matches(term) || note.contains(term, Qt::CaseInsensitive)
           || std::any_of(groups.cbegin(), groups.cend(), [&](const AccountGroup &group) {
                  return this->groups.contains(group.id) && group.name.contains(term, Qt::CaseInsensitive);
              });
}

std::optional<QUuid> TokenAccount::idFromText(const QString &text)
{
    if (text.size() != 36)
        return std::nullopt;
    const QUuid id = QUuid::fromString(text);
    // fromString gives the nil UUID for bad text too; only the all-zero text means nil.
    if (id.isNull() && text != u"00000000-0000-0000-0000-000000000000"_s)
        return std::nullopt;
    return id;
}

QString TokenAccount::idText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QJsonObject TokenAccount::toJson() const
{
    QJsonObject object{
        {u"id"_s, idText()},       {u"name"_s, name},         {u"issuer"_s, issuer},
        {u"period"_s, otp.period}, {u"digits"_s, otp.digits},
    };
    if (otp.algorithm != HashAlgorithm::Sha1)
        object.insert(u"algorithm"_s, algorithmName(otp.algorithm));
    if (otp.isSteam())
        object.insert(u"steam"_s, true);
    if (otp.isHotp()) {
        object.insert(u"type"_s, kindName(otp.kind));
        object.insert(u"counter"_s, QString::number(otp.counter));
    }
    writeDetails(*this, object);
    return object;
}

std::optional<TokenAccount> TokenAccount::fromJson(const QJsonObject &object)
{
    const QJsonValue idValue = object.value(u"id"_s);
    const auto id = idValue.isString() ? idFromText(idValue.toString()) : std::nullopt;
    const QJsonValue name = object.value(u"name"_s);
    const QJsonValue issuer = object.value(u"issuer"_s);
    const auto period = JsonInteger::toSigned(object.value(u"period"_s));
    const auto digits = JsonInteger::toSigned(object.value(u"digits"_s));
    const auto algorithm = algorithmFrom(object.value(u"algorithm"_s));
    const QJsonValue steam = object.value(u"steam"_s);
    if (!id || !name.isString() || !issuer.isString() || !period || !digits || !algorithm
        || !(steam.isUndefined() || steam.isBool()))
        return std::nullopt;
    const auto kind = kindFrom(object, steam.toBool());
    if (!kind)
        return std::nullopt;
    TokenAccount account{
        *id, name.toString(), issuer.toString(), {*period, *digits, *algorithm, kind->first, kind->second}};
    if (!readDetails(object, account))
        return std::nullopt;
    return account;
}

QByteArray TokenAccount::encodeList(const QList<TokenAccount> &accounts)
{
    QJsonArray array;
    for (const TokenAccount &account : accounts)
        array.append(account.toJson());
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<QList<TokenAccount>> TokenAccount::decodeList(const QByteArray &document)
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(document, &error);
    if (error.error != QJsonParseError::NoError || !json.isArray())
        return std::nullopt;
    const QJsonArray array = json.array();
    QList<TokenAccount> accounts;
    accounts.reserve(array.size());
    for (const QJsonValue &value : array) {
        const auto account = value.isObject() ? fromJson(value.toObject()) : std::nullopt;
        if (!account)
            return std::nullopt;
        accounts.append(*account);
    }
    return accounts;
}

QByteArray TokenAccount::encodeGroups(const QList<AccountGroup> &groups)
{
    QJsonArray array;
    for (const AccountGroup &group : groups)
        array.append(QJsonObject{{u"id"_s, idText(group.id)}, {u"name"_s, group.name}});
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<QList<AccountGroup>> TokenAccount::decodeGroups(const QByteArray &document)
{
    const QJsonDocument json = QJsonDocument::fromJson(document);
    if (!json.isArray())
        return std::nullopt;
    QList<AccountGroup> groups;
    for (const QJsonValue &value : json.array()) {
        const auto id = idFromText(value[u"id"].toString());
        if (!id || !value[u"name"].isString())
            return std::nullopt;
        groups.append({*id, value[u"name"].toString()});
    }
    return groups;
}

size_t qHash(const TokenAccount &account, size_t seed) noexcept
{
    return qHashMulti(seed, account.id, account.name, account.issuer, account.otp);
}
