#include "store/StoreError.h"

QString StoreError::description() const
{
    return std::visit([](const auto &error) { return error.description(); }, m_error);
}

QString ListSaveError::description() const
{
    return QStringLiteral(u"无法保存账户列表：") + reason;
}

QString LockedKeychainError::description() const
{
    return QStringLiteral(u"钥匙串已锁定，账户没有添加。解锁钥匙串后即可再次添加。");
}
