#include "store/StoreError.h"

#include <QCoreApplication>
#include <QSettings>

using namespace Qt::Literals::StringLiterals;

// QSettings keeps reporting an error once one happened, also after later writes worked: the
// file is read back to tell.
std::optional<ListSaveError> ListSaveError::of(const QSettings &settings, const QString &key)
{
    if (settings.status() == QSettings::NoError)
        return std::nullopt;
    const QSettings stored(settings.fileName(), settings.format());
    if (stored.status() == QSettings::NoError && stored.value(key) == settings.value(key))
        return std::nullopt;
    switch (settings.status()) {
    case QSettings::NoError:
        return std::nullopt;
    case QSettings::AccessError:
        return ListSaveError{QCoreApplication::translate("StoreError", "无法写入 %1").arg(settings.fileName())};
    case QSettings::FormatError:
        return ListSaveError{QCoreApplication::translate("StoreError", "%1 格式有误").arg(settings.fileName())};
    }
    Q_UNREACHABLE();
}

QString StoreError::description() const
{
    return std::visit([](const auto &error) { return error.description(); }, m_error);
}

QString ListSaveError::description() const
{
    return QCoreApplication::translate("StoreError", "无法保存账户列表：%1").arg(reason);
}

QString LockedKeychainError::description() const
{
    return QCoreApplication::translate("StoreError", "钥匙串已锁定，账户没有添加。解锁钥匙串后即可再次添加。");
}

QString IconError::description() const
{
    return QCoreApplication::translate(
        "StoreError", "这个文件不能做图标：只能用不超过 256 KiB 的 SVG、PNG 或 JPEG 图片，SVG 不能含脚本或外部引用。");
}
