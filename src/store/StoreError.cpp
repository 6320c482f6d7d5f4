#include "store/StoreError.h"

QString StoreError::description() const
{
    return std::visit([](const auto &error) { return error.description(); }, m_error);
}
