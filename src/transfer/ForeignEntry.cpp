#include "transfer/ForeignEntry.h"

#include "engine/HashAlgorithm.h"
#include "engine/JsonInteger.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

qint64 numberOr(const QJsonValue &value, qint64 fallback)
{
    return value.isUndefined() || value.isNull() ? fallback : JsonInteger::toSigned(value).value_or(-1);
}

// A HOTP counter: 0 when missing, absent when it is not a whole number of the unsigned 64-bit
// range.
std::optional<quint64> counterOf(const QJsonValue &value)
{
    if (value.isUndefined() || value.isNull())
        return 0;
    return JsonInteger::toUnsigned(value);
}

OtpKind kindOf(const QString &type)
{
    return kindFromName(type).value_or(OtpKind::Totp);
}

} // namespace

QString ForeignEntry::label() const
{
    return ImportBatch::label(name, issuer);
}

QString ForeignEntry::refusalReason() const
{
    const auto kind = kindFromName(type);
    if (!kind)
        return QCoreApplication::translate("ForeignEntry", "不支持的验证码类型：%1。").arg(type);
    if (*kind == OtpKind::Hotp && !counterOf(counter))
        return QCoreApplication::translate("ImportBatch", "密钥或参数无效。");
    if (!algorithm.isEmpty() && !algorithmFromName(algorithm))
        return QCoreApplication::translate("ForeignEntry", "不支持的算法：%1。").arg(algorithm);
    return {};
}

void ForeignEntry::appendTo(ImportBatch &batch) const
{
    if (const QString reason = refusalReason(); !reason.isEmpty()) {
        batch.refused.append({label(), reason});
        return;
    }
    const OtpKind kind = kindOf(type);
    batch.offer({name,
                 issuer,
                 secret,
                 {numberOr(period, 30), numberOr(digits, kind == OtpKind::Steam ? 5 : 6),
                  algorithmFromName(algorithm).value_or(HashAlgorithm::Sha1), kind, counterOf(counter).value_or(0)},
                 icon,
                 groups,
                 note,
                 favourite,
                 id},
                label());
}

ImportBatch ForeignEntry::batchFrom(const QJsonArray &list,
                                    const std::function<ForeignEntry(const QJsonValue &element)> &entryOf,
                                    std::stop_token stop)
{
    ImportBatch batch;
    for (const QJsonValue &element : list) {
        if (stop.stop_requested())
            break;
        entryOf(element).appendTo(batch);
    }
    return batch;
}
