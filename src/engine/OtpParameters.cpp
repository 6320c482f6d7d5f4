#include "engine/OtpParameters.h"

#include <QHashFunctions>

using namespace Qt::Literals::StringLiterals;

QString kindName(OtpKind kind)
{
    switch (kind) {
    case OtpKind::Hotp:
        return u"hotp"_s;
    case OtpKind::Steam:
        return u"steam"_s;
    case OtpKind::Totp:
        break;
    }
    return u"totp"_s;
}

std::optional<OtpKind> kindFromName(QStringView name)
{
    for (const OtpKind kind : {OtpKind::Totp, OtpKind::Hotp, OtpKind::Steam}) {
        if (name.compare(kindName(kind), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
}

size_t qHash(const OtpParameters &otp, size_t seed) noexcept
{
    return qHashMulti(seed, otp.period, otp.digits, int(otp.algorithm), int(otp.kind), otp.counter);
}
