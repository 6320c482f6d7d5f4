#include "transfer/TransferError.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

QString TransferError::description() const
{
    switch (m_kind) {
    case Kind::passwordRequired:
        return QCoreApplication::translate("TransferError", "这个备份已加密，请输入密码。");
    case Kind::wrongPassword:
        return QCoreApplication::translate("TransferError", "密码不正确。");
    case Kind::wrongPasswordOrDamaged:
        return QCoreApplication::translate("TransferError", "密码不正确，或文件已损坏。");
    case Kind::wrongPasswordOrTooCostly:
        return QCoreApplication::translate("TransferError", "密码不正确，或这个备份要求的计算量过大：%1").arg(m_detail);
    case Kind::damaged:
        return QCoreApplication::translate("TransferError", "文件不完整或已被修改，没有导入任何账户。");
    case Kind::unrecognized:
        return QCoreApplication::translate("TransferError", "无法识别的文件格式。");
    case Kind::unsupported:
        return QCoreApplication::translate("TransferError", "不支持这个备份：%1").arg(m_detail);
    case Kind::tooLarge:
        return QCoreApplication::translate("TransferError", "文件太大，不像是验证码备份。");
    case Kind::tooManyAccounts:
        return QCoreApplication::translate("TransferError",
                                           "这个文件中的账户超过 %1 个，一次导入不了这么多，没有导入任何账户。")
            .arg(m_detail);
    case Kind::notAFile:
        return QCoreApplication::translate("TransferError", "只能导入普通文件，“%1”不是。").arg(m_detail);
    case Kind::damagedLink:
        return QCoreApplication::translate("TransferError", "迁移链接不完整或已损坏，没有导入任何账户。");
    case Kind::noQrCode:
        return QCoreApplication::translate("TransferError", "图片中没有找到二维码。");
    case Kind::notAnAccountCode:
        return QCoreApplication::translate("TransferError",
                                           "这个二维码里不是验证码链接（otpauth:// 或 otpauth-migration://）。");
    case Kind::unreadableImage:
        return QCoreApplication::translate("TransferError", "无法读取这张图片。");
    case Kind::screenUnavailable:
        return QCoreApplication::translate("TransferError", "这个桌面不允许读取屏幕，请截图后用“从图片读取二维码…”。");
    case Kind::keyPending:
        return QCoreApplication::translate("TransferError", "正在验证密码…");
    case Kind::cancelled:
        return QCoreApplication::translate("TransferError", "已取消。");
    case Kind::componentMissing:
        return QCoreApplication::translate("TransferError", "缺少导入导出组件，请重新安装岚签：%1").arg(m_detail);
    case Kind::fileError:
        break;
    }
    return QCoreApplication::translate("TransferError", "无法读写文件：%1").arg(m_detail);
}
