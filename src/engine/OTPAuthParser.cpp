#include "engine/OTPAuthParser.h"

#include "engine/LabelText.h"
#include "engine/UriText.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

QString labelOf(const QUrl &url)
{
    // Decoded from the encoded path by hand so that bytes that are not UTF-8 fail instead
    // of turning into U+FFFD. Some issuers escape their labels twice; the second decoding
    // applies only where it succeeds, so a label with an escaped "%" keeps it.
    const std::optional<QString> once = UriText::percentDecoded(url.path(QUrl::FullyEncoded));
    if (!once)
        return {};
    const QString label = UriText::percentDecoded(*once).value_or(*once);
    qsizetype begin = 0;
    qsizetype end = label.size();
    while (begin < end && label.at(begin) == u'/')
        ++begin;
    while (end > begin && label.at(end - 1) == u'/')
        --end;
    return label.sliced(begin, end - begin);
}

// Splits once, at the first colon that ends a non-empty piece; empty pieces are dropped
// and do not use up the split. Spaces after that colon are optional in the format, not
// part of the account name.
QStringList splitLabel(const QString &label)
{
    QStringView rest(label);
    while (!rest.isEmpty() && rest.front() == u':')
        rest = rest.sliced(1);
    if (rest.isEmpty())
        return {};
    const qsizetype colon = rest.indexOf(u':');
    if (colon < 0)
        return {rest.toString()};
    QStringList pieces{rest.first(colon).toString()};
    QStringView account = rest.sliced(colon + 1);
    while (!account.isEmpty() && account.front().isSpace())
        account = account.sliced(1);
    if (!account.isEmpty())
        pieces.append(account.toString());
    return pieces;
}

struct QueryItem
{
    QString name;
    QString value;
};

// The query's items with lower-cased names, in link order; absent when one does not decode.
std::optional<QList<QueryItem>> queryItemsOf(const QUrl &url)
{
    QList<QueryItem> items;
    if (!url.hasQuery())
        return items;
    const QString query = url.query(QUrl::FullyEncoded);
    for (QStringView item : QStringView(query).split(u'&')) {
        const qsizetype equals = item.indexOf(u'=');
        const std::optional<QString> name = UriText::percentDecoded(equals < 0 ? item : item.first(equals));
        const std::optional<QString> value =
            equals < 0 ? std::optional<QString>(QString()) : UriText::percentDecoded(item.sliced(equals + 1));
        if (!name || !value)
            return std::nullopt;
        items.append({name->toLower(), *value});
    }
    return items;
}

std::optional<QString> firstValue(const QList<QueryItem> &items, QStringView name)
{
    for (const QueryItem &item : items) {
        if (item.name == name)
            return item.value;
    }
    return std::nullopt;
}

qint64 numberOr(const QList<QueryItem> &items, QStringView name, qint64 fallback)
{
    const std::optional<QString> text = firstValue(items, name);
    if (!text)
        return fallback;
    return UriText::parseInt64(*text).value_or(fallback);
}

// A HOTP link's "counter": 0 when missing (as Google Authenticator reads it); absent when it
// is not a decimal number of the unsigned 64-bit range.
std::optional<quint64> counterOf(const QList<QueryItem> &items)
{
    const std::optional<QString> text = firstValue(items, u"counter");
    if (!text)
        return 0;
    if (text->isEmpty() || !std::all_of(text->cbegin(), text->cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const quint64 counter = text->toULongLong(&ok);
    return ok ? std::optional(counter) : std::nullopt;
}

enum class Kind {
    Totp,
    Steam,
    Hotp,
    Other,
};

Kind kindOf(const QUrl &url)
{
    const QString host = url.host().toLower();
    if (host == u"totp")
        return Kind::Totp;
    if (host == u"steam")
        return Kind::Steam;
    return host == u"hotp" ? Kind::Hotp : Kind::Other;
}

// Steam Guard has one form: five characters, 30 seconds, SHA-1, whatever else the link says.
void makeSteam(ImportedToken &token)
{
    token.otp = {30, 5, HashAlgorithm::Sha1, OtpKind::Steam};
}

// The named hash; SHA-1 when the link names none.
std::expected<HashAlgorithm, LinkError> algorithmOf(const QList<QueryItem> &items)
{
    const QString name = firstValue(items, u"algorithm").value_or(QString());
    if (name.isEmpty())
        return HashAlgorithm::Sha1;
    if (const auto algorithm = algorithmFromName(name))
        return *algorithm;
    return std::unexpected(LinkError::unknownAlgorithm(name));
}

// The URL and its decoded query items; absent for a text that is not an otpauth URL.
struct Link
{
    QUrl url;
    QList<QueryItem> items;
};

std::optional<Link> linkOf(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!std::all_of(trimmed.cbegin(), trimmed.cend(), UriText::isUriCharacter))
        return std::nullopt;
    QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().toLower() != u"otpauth")
        return std::nullopt;
    std::optional<QList<QueryItem>> items = queryItemsOf(url);
    if (!items)
        return std::nullopt;
    return Link{std::move(url), std::move(*items)};
}

// The name and issuer: the label's account and issuer parts, the query's issuer winning.
ImportedToken labelled(const Link &link)
{
    const QString label = labelOf(link.url);
    const QStringList pieces = splitLabel(label);
    const std::optional<QString> queryIssuer = firstValue(link.items, u"issuer");
    ImportedToken token;
    if (pieces.size() == 2) {
        token.name = pieces[1];
        token.issuer = queryIssuer.value_or(pieces[0]);
    } else {
        token.name = label;
        token.issuer = queryIssuer.value_or(QString());
    }
    token.name = LabelText::cleaned(token.name);
    token.issuer = LabelText::cleaned(token.issuer);
    return token;
}

} // namespace

namespace OTPAuthParser {

std::expected<ImportedToken, LinkError> parse(const QString &text)
{
    const auto notALink = std::unexpected(LinkError::notALink());
    const std::optional<Link> link = linkOf(text);
    if (!link)
        return notALink;
    const Kind kind = kindOf(link->url);
    if (kind == Kind::Other)
        return notALink;

    const QList<QueryItem> &items = link->items;
    // Two secrets leave no way to tell which one the issuer meant.
    const auto secrets =
        std::count_if(items.cbegin(), items.cend(), [](const QueryItem &item) { return item.name == u"secret"; });
    if (secrets > 1)
        return notALink;
    const std::optional<QString> secret = firstValue(items, u"secret");
    if (!secret || secret->isEmpty())
        return notALink;

    ImportedToken token = labelled(*link);
    token.secret = *secret;
    if (kind == Kind::Steam || firstValue(items, u"encoder").value_or(QString()).toLower() == u"steam") {
        makeSteam(token);
        return token;
    }
    const auto algorithm = algorithmOf(items);
    if (!algorithm)
        return std::unexpected(algorithm.error());
    token.otp.algorithm = *algorithm;
    token.otp.period = numberOr(items, u"period", 30);
    token.otp.digits = numberOr(items, u"digits", 6);
    if (kind == Kind::Hotp) {
        const auto counter = counterOf(items);
        if (!counter)
            return notALink;
        token.otp.kind = OtpKind::Hotp;
        token.otp.counter = *counter;
    }
    return token;
}

std::optional<ImportedToken> nameOf(const QString &text)
{
    const std::optional<Link> link = linkOf(text);
    if (!link)
        return std::nullopt;
    return labelled(*link);
}

} // namespace OTPAuthParser
