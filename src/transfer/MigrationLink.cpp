#include "transfer/MigrationLink.h"

#include "transfer/ForeignEntry.h"
#include "transfer/MigrationPayload.pb.h"
#include "transfer/TextEncoding.h"

#include <QUrl>
#include <QUrlQuery>

using namespace Qt::Literals::StringLiterals;
using Payload = corvane::migration::MigrationPayload;

namespace {

constexpr qint64 exportPeriod = 30; // the format has no period: every account uses 30 s

// Exports write the name as "Issuer:account"; the issuer is kept apart already.
QString accountName(const QString &name, const QString &issuer)
{
    const QString prefix = issuer + u':';
    if (issuer.isEmpty() || !name.startsWith(prefix))
        return name;
    return name.sliced(prefix.size()).trimmed();
}

QJsonValue digitCount(int digits)
{
    switch (digits) {
    case Payload::DIGIT_COUNT_UNSPECIFIED:
        return QJsonValue::Undefined;
    case Payload::DIGIT_COUNT_SIX:
        return 6;
    case Payload::DIGIT_COUNT_EIGHT:
        return 8;
    default:
        return -1; // refused as an invalid parameter
    }
}

QString typeName(int type)
{
    switch (type) {
    case Payload::OTP_TYPE_HOTP:
        return u"HOTP"_s;
    case Payload::OTP_TYPE_TOTP:
        return u"TOTP"_s;
    default:
        return u"#%1"_s.arg(type);
    }
}

QString migrationAlgorithm(int algorithm)
{
    switch (algorithm) {
    case Payload::ALGORITHM_UNSPECIFIED:
    case Payload::ALGORITHM_SHA1:
        return u"SHA1"_s;
    case Payload::ALGORITHM_SHA256:
        return u"SHA256"_s;
    case Payload::ALGORITHM_SHA512:
        return u"SHA512"_s;
    case Payload::ALGORITHM_MD5:
        return u"MD5"_s;
    default:
        return u"#%1"_s.arg(algorithm);
    }
}

// Judged like an entry of any other authenticator's backup.
ForeignEntry entry(const Payload::OtpParameters &otp)
{
    const QString issuer = QString::fromUtf8(otp.issuer());
    return {typeName(otp.type()),
            accountName(QString::fromUtf8(otp.name()), issuer),
            issuer,
            TextEncoding::toBase32(otp.secret()),
            migrationAlgorithm(otp.algorithm()),
            digitCount(otp.digits()),
            exportPeriod,
            qint64(otp.counter())};
}

} // namespace

std::expected<MigrationBatch, TransferError> MigrationLink::parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() > MigrationBatch::maxLinkLength)
        return std::unexpected(TransferError::Kind::damagedLink);
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().compare(u"otpauth-migration"_s, Qt::CaseInsensitive) != 0
        || url.host().compare(u"offline"_s, Qt::CaseInsensitive) != 0)
        return std::unexpected(TransferError::Kind::damagedLink);
    const QString data = QUrlQuery(url).queryItemValue(u"data"_s, QUrl::FullyDecoded);
    // Some exporters leave "+" unescaped; a decoder that read it as a space gives it back.
    auto decoded =
        QByteArray::fromBase64Encoding(data.toLatin1().replace(' ', '+'), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty())
        return std::unexpected(TransferError::Kind::damagedLink);
    return fromPayload(decoded.decoded);
}

std::expected<MigrationBatch, TransferError> MigrationLink::fromPayload(const QByteArray &payload)
{
    Payload message;
    if (!message.ParseFromArray(payload.constData(), int(payload.size())))
        return std::unexpected(TransferError::Kind::damagedLink);
    MigrationBatch batch;
    for (const Payload::OtpParameters &otp : message.otp_parameters())
        entry(otp).appendTo(batch.accounts);
    if (message.batch_size() > 1 && message.batch_index() >= 0 && message.batch_index() < message.batch_size()) {
        batch.index = message.batch_index();
        batch.count = message.batch_size();
    }
    return batch;
}
