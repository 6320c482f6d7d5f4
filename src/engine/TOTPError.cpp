#include "engine/TOTPError.h"

#include "engine/TOTPGenerator.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

const TOTPError TOTPError::invalidSecret{Kind::InvalidSecret};
const TOTPError TOTPError::secretTooLong{Kind::SecretTooLong};

QString TOTPError::description() const
{
    if (m_kind == Kind::SecretTooLong)
        return QCoreApplication::translate("TOTPError", "密钥过长：去掉空格后超过 %n 个字符，请检查粘贴的内容。",
                                           nullptr, TOTPGenerator::maximumSecretLength);
    return QCoreApplication::translate("TOTPError", "密钥格式不正确，请使用 Base32 密钥。");
}
