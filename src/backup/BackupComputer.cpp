#include "backup/BackupComputer.h"

#include "transfer/SafeFile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUuid>

using namespace Qt::Literals::StringLiterals;

namespace {

// Enough for the stamp, however the JSON is indented.
constexpr qint64 headSize = 512;
// Of the id in a computer's label: one in 65,536 computers of one host share it.
constexpr qsizetype labelIdSize = 4;

} // namespace

namespace BackupComputer {

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QByteArray stamped(const QByteArray &vault, const QString &id)
{
    QJsonObject root = QJsonDocument::fromJson(vault).object();
    root.insert(u"corvane"_s, QJsonObject{{u"computer"_s, id}});
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<QString> idOf(const QString &path)
{
    static const QRegularExpression stamp(
        uR"re(^\s*\{\s*"corvane"\s*:\s*\{\s*"computer"\s*:\s*"([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12})")re"_s);
    const auto file = SafeFile::openRegular(path);
    if (!file)
        return std::nullopt;
    const QByteArray head = (*file)->read(headSize);
    if ((*file)->error() != QFileDevice::NoError)
        return std::nullopt;
    return stamp.match(QString::fromUtf8(head)).captured(1);
}

QString label(const QString &host, const QString &id)
{
    return id.isEmpty() ? host : u"%1 #%2"_s.arg(host, id.left(labelIdSize));
}

} // namespace BackupComputer
