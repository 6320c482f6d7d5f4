#include "transfer/ForeignEntry.h"

#include "engine/HashAlgorithm.h"

#include <cmath>

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

// A JSON number that is a whole number of the 64-bit range; absent for anything else.
std::optional<qint64> wholeNumber(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (std::trunc(number) != number || number < -0x1p63 || number >= 0x1p63)
        return std::nullopt;
    return qint64(number);
}

qint64 numberOr(const QJsonValue &value, qint64 fallback)
{
    return value.isUndefined() || value.isNull() ? fallback : wholeNumber(value).value_or(-1);
}

} // namespace

QString ForeignEntry::label() const
{
    return ImportBatch::label(name, issuer);
}

QString ForeignEntry::refusalReason() const
{
    const QString kind = type.toLower();
    if (kind == u"hotp")
        return QCoreApplication::translate("ForeignEntry", "暂不支持计数器（HOTP）验证码。");
    if (kind != u"totp" && kind != u"steam")
        return QCoreApplication::translate("ForeignEntry", "不支持的验证码类型：%1。").arg(type);
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
    const bool steam = type.compare(u"steam", Qt::CaseInsensitive) == 0;
    batch.offer({name, issuer, secret, numberOr(period, 30), numberOr(digits, steam ? 5 : 6),
                 algorithmFromName(algorithm).value_or(HashAlgorithm::Sha1), steam},
                label());
}

ImportBatch ForeignEntry::batchFrom(const QJsonArray &list, ForeignEntry (*entryOf)(const QJsonValue &element))
{
    ImportBatch batch;
    for (const QJsonValue &element : list)
        entryOf(element).appendTo(batch);
    return batch;
}
