#include "transfer/OtpauthLinks.h"

#include "engine/OTPAuthParser.h"
#include "transfer/MigrationLink.h"
#include "transfer/TextEncoding.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

using namespace Qt::Literals::StringLiterals;

namespace {

QString encoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

// Read one at a time, not split into a list: a file of millions of empty lines would make a
// list many times its size.
auto linesOf(const QString &text)
{
    return QStringView(text).tokenize(u'\n');
}

// Every account of a phone-export link on the line, or the line refused as a whole.
void addMigration(ImportBatch &batch, const QString &line, const QString &label)
{
    const auto migration = MigrationLink::parse(line);
    if (!migration) {
        batch.refused.append({label, migration.error().description()});
        return;
    }
    batch.tokens += migration->accounts.tokens;
    batch.refused += migration->accounts.refused;
}

// Older Ente versions wrote hand-entered accounts with literal spaces in the label and the
// query, and peers read them; the add sheet stays strict.
QString lenient(QStringView line)
{
    return line.toString().replace(u' ', u"%20"_s);
}

// Ente's display settings in the link ("codeDisplay", JSON): pinned, trashed, tags, note.
QJsonObject enteDisplayOf(const QString &link)
{
    const QString display = QUrlQuery(QUrl(link)).queryItemValue(u"codeDisplay"_s, QUrl::FullyDecoded);
    return QJsonDocument::fromJson(display.toUtf8()).object();
}

// Ente's tags are groups by name, its pinned accounts favourites.
ImportedToken withEnteDisplay(ImportedToken token, const QJsonObject &display)
{
    for (const QJsonValue &tag : display[u"tags"].toArray()) {
        if (tag.isString() && !tag.toString().isEmpty())
            token.groups.append({QUuid(), tag.toString()});
    }
    token.note = display[u"note"].toString();
    token.favourite = display[u"pinned"].toBool();
    return token;
}

// The link with the account's groups, note and favourite flag as Ente writes them, when it has any.
QString linkWithDisplay(const ImportedToken &token)
{
    const QString link = OtpauthLinks::link(token);
    if (token.groups.isEmpty() && token.note.isEmpty() && !token.favourite)
        return link;
    QJsonArray tags;
    for (const AccountGroup &group : token.groups)
        tags.append(group.name);
    const QJsonObject display{{u"pinned"_s, token.favourite},
                              {u"trashed"_s, false},
                              {u"lastUsedAt"_s, 0},
                              {u"tapCount"_s, 0},
                              {u"tags"_s, tags},
                              {u"note"_s, token.note}};
    return link + u"&codeDisplay="_s
           + encoded(QString::fromUtf8(QJsonDocument(display).toJson(QJsonDocument::Compact)));
}

} // namespace

namespace OtpauthLinks {

QString link(const ImportedToken &token)
{
    const QString label =
        token.issuer.isEmpty() ? encoded(token.name) : u"%1:%2"_s.arg(encoded(token.issuer), encoded(token.name));
    QString query = u"secret="_s + encoded(TextEncoding::canonicalBase32(token.secret));
    if (!token.issuer.isEmpty())
        query += u"&issuer="_s + encoded(token.issuer);
    query += u"&algorithm=%1&digits=%2"_s.arg(algorithmName(token.otp.algorithm)).arg(token.otp.digits);
    query += token.otp.isHotp() ? u"&counter=%1"_s.arg(token.otp.counter) : u"&period=%1"_s.arg(token.otp.period);
    return u"otpauth://%1/%2?%3"_s.arg(kindName(token.otp.kind), label, query);
}

QByteArray write(const QList<ImportedToken> &tokens)
{
    QByteArray text;
    for (const ImportedToken &token : tokens)
        text += linkWithDisplay(token).toUtf8() + '\n';
    return text;
}

ImportBatch read(const QString &text, std::stop_token stop)
{
    ImportBatch batch;
    qsizetype lineNumber = 0;
    for (const QStringView rawLine : linesOf(text)) {
        ++lineNumber;
        if (batch.size() > ImportBatch::maxEntries || stop.stop_requested())
            break;
        const QString line = lenient(rawLine.trimmed());
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString number = QCoreApplication::translate("OtpauthLinks", "第 %1 行").arg(lineNumber);
        if (MigrationBatch::looksLikeLink(line)) {
            addMigration(batch, line, number);
            continue;
        }
        const auto token = OTPAuthParser::parse(line);
        const ImportedToken named = token ? *token : OTPAuthParser::nameOf(line).value_or(ImportedToken());
        const QString account = ImportBatch::label(named.name, named.issuer);
        const QString label = account.isEmpty() ? number : u"%1 %2"_s.arg(number, account);
        const QJsonObject display = token ? enteDisplayOf(line) : QJsonObject();
        if (display[u"trashed"].toBool())
            batch.refused.append({label, QCoreApplication::translate("OtpauthLinks", "已在 Ente 中移到回收站")});
        else if (token)
            batch.offer(withEnteDisplay(*token, display), label);
        else
            batch.refused.append({label, reasonFor(token.error())});
    }
    return batch;
}

QString reasonFor(const LinkError &error)
{
    return error.description().isEmpty() ? QCoreApplication::translate("OtpauthLinks", "不是可用的 otpauth 链接")
                                         : error.description();
}

bool recognizes(const QString &text)
{
    for (const QStringView line : linesOf(text)) {
        if (line.trimmed().startsWith(u"otpauth", Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace OtpauthLinks
