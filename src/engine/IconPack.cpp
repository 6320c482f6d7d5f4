#include "engine/IconPack.h"

#include <algorithm>

std::optional<qsizetype> IconPack::match(const QString &issuer) const
{
    const QString wanted = issuer.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    const auto first = [&](auto fits) -> std::optional<qsizetype> {
        for (qsizetype i = 0; i < icons.size(); ++i) {
            if (std::any_of(icons[i].issuers.cbegin(), icons[i].issuers.cend(), fits))
                return i;
        }
        return std::nullopt;
    };
    if (const auto exact = first([&](const QString &name) { return name.compare(wanted, Qt::CaseInsensitive) == 0; }))
        return exact;
    return first([&](const QString &name) { return name.contains(wanted, Qt::CaseInsensitive); });
}
