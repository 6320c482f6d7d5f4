#include "backup/BackupFailure.h"

#include <QCoreApplication>

QString BackupFailure::description() const
{
    switch (m_kind) {
    case Kind::folderMissing:
        return QCoreApplication::translate("BackupFailure", "找不到备份文件夹。");
    case Kind::notWritable:
        return QCoreApplication::translate("BackupFailure", "备份文件夹不可写入。");
    case Kind::diskFull:
        return QCoreApplication::translate("BackupFailure", "磁盘已满，备份未写入。");
    case Kind::notVerified:
        return QCoreApplication::translate("BackupFailure", "备份未通过校验。");
    case Kind::keychainLocked:
        return QCoreApplication::translate("BackupFailure", "钥匙串已锁定，备份未写入。");
    case Kind::keyMissing:
        return QCoreApplication::translate("BackupFailure", "备份密钥丢失，请重新设置。");
    case Kind::off:
        return QCoreApplication::translate("BackupFailure", "自动备份未开启。");
    case Kind::componentMissing:
        return QCoreApplication::translate("BackupFailure", "缺少备份组件。");
    }
    return {};
}
