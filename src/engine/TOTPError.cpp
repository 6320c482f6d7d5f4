#include "engine/TOTPError.h"

#include "engine/TOTPGenerator.h"

using namespace Qt::Literals::StringLiterals;

const TOTPError TOTPError::invalidSecret{Kind::InvalidSecret};
const TOTPError TOTPError::secretTooLong{Kind::SecretTooLong};

QString TOTPError::description() const
{
    if (m_kind == Kind::SecretTooLong)
        return u"密钥过长：去掉空格后超过 %1 个字符，请检查粘贴的内容。"_s.arg(TOTPGenerator::maximumSecretLength);
    return u"密钥格式不正确，请使用 Base32 密钥。"_s;
}
