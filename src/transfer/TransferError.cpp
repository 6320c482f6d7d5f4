#include "transfer/TransferError.h"

using namespace Qt::Literals::StringLiterals;

QString TransferError::description() const
{
    switch (m_kind) {
    case Kind::passwordRequired:
        return u"这个备份已加密，请输入密码。"_s;
    case Kind::wrongPassword:
        return u"密码不正确。"_s;
    case Kind::wrongPasswordOrDamaged:
        return u"密码不正确，或文件已损坏。"_s;
    case Kind::damaged:
        return u"文件不完整或已被修改，没有导入任何账户。"_s;
    case Kind::unrecognized:
        return u"无法识别的文件格式。"_s;
    case Kind::unsupported:
        return u"不支持这个备份：%1"_s.arg(m_detail);
    case Kind::tooLarge:
        return u"文件太大，不像是验证码备份。"_s;
    case Kind::tooManyAccounts:
        return u"这个文件中的账户超过 %1 个，一次导入不了这么多，没有导入任何账户。"_s.arg(m_detail);
    case Kind::notAFile:
        return u"只能导入普通文件，“%1”不是。"_s.arg(m_detail);
    case Kind::damagedLink:
        return u"迁移链接不完整或已损坏，没有导入任何账户。"_s;
    case Kind::noQrCode:
        return u"图片中没有找到二维码。"_s;
    case Kind::notAnAccountCode:
        return u"这个二维码里不是验证码链接（otpauth://totp/ 或 otpauth-migration://）。"_s;
    case Kind::unreadableImage:
        return u"无法读取这张图片。"_s;
    case Kind::screenUnavailable:
        return u"这个桌面不允许读取屏幕，请截图后用“从图片读取二维码…”。"_s;
    case Kind::keyPending:
        return u"正在验证密码…"_s;
    case Kind::componentMissing:
        return u"缺少导入导出组件，请重新安装岚签：%1"_s.arg(m_detail);
    case Kind::fileError:
        break;
    }
    return u"无法读写文件：%1"_s.arg(m_detail);
}
