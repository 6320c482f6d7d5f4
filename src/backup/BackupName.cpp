#include "backup/BackupName.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString timeFormat = u"yyyyMMdd-HHmmss"_s;

} // namespace

QString BackupName::safeHost(const QString &hostName)
{
    QString host = hostName.section(u'.', 0, 0);
    for (QChar &c : host) {
        const bool safe =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        if (!safe)
            c = u'_';
    }
    return host.isEmpty() ? u"computer"_s : host;
}

std::optional<BackupName> BackupName::parse(const QString &fileName)
{
    static const QRegularExpression pattern(
        u"^corvane-backup-([A-Za-z0-9_-]+)-(\\d{8}-\\d{6})(?:-([2-9]|[1-9]\\d{1,3}))?\\.json$"_s);
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(match.captured(2), timeFormat);
    if (!time.isValid())
        return std::nullopt;
    return BackupName{match.captured(1), time, match.hasCaptured(3) ? match.captured(3).toInt() : 1};
}

QString BackupName::fileName() const
{
    const QString base = u"corvane-backup-%1-%2"_s.arg(host, time.toString(timeFormat));
    return suffix > 1 ? u"%1-%2.json"_s.arg(base).arg(suffix) : base + u".json"_s;
}

bool BackupName::isNewerThan(const BackupName &other) const
{
    return time != other.time ? time > other.time : suffix > other.suffix;
}
