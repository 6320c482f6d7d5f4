#include "engine/TOTPError.h"

using namespace Qt::Literals::StringLiterals;

const TOTPError TOTPError::invalidSecret{};

QString TOTPError::description() const
{
    return u"密钥格式不正确，请使用 Base32 密钥。"_s;
}
