#include "store/StoreError.h"

QString StoreError::description() const
{
    return std::visit([](const auto &error) { return error.description(); }, m_error);
}

QString ListSaveError::description() const
{
    return QStringLiteral(u"无法保存账户列表：") + reason;
}
