#include "backup/BackupFailure.h"

#include <QCoreApplication>

QString BackupFailure::description() const
{
    switch (m_kind) {
    case Kind::folderMissing:
        return QCoreApplication::translate("BackupFailure", "找不到备份文件夹，自动备份未完成。");
    case Kind::notWritable:
        return QCoreApplication::translate("BackupFailure", "备份文件夹无法写入，自动备份未完成。");
    case Kind::diskFull:
        return QCoreApplication::translate("BackupFailure", "磁盘已满，自动备份未完成。");
    case Kind::notVerified:
        return QCoreApplication::translate("BackupFailure", "备份写入后无法打开，已丢弃。");
    case Kind::keychainLocked:
        return QCoreApplication::translate("BackupFailure", "钥匙串未解锁，自动备份未完成。");
    case Kind::keyMissing:
        return QCoreApplication::translate("BackupFailure", "备份密钥已丢失，请重新设置自动备份。");
    case Kind::off:
        return QCoreApplication::translate("BackupFailure", "自动备份尚未开启。");
    case Kind::componentMissing:
        return QCoreApplication::translate("BackupFailure", "缺少备份组件，自动备份未完成。");
    }
    return {};
}
