#pragma once

#include "engine/Clock.h"

#include <QHash>
#include <QString>
#include <QUuid>

#include <optional>

// The ids the desktop's search and KRunner get for accounts: random, and forgotten 30 s after
// they were last handed out, so that no account's uuid leaves the process and an old result
// cannot be activated much later.
class ResultIds
{
public:
    static constexpr double lifetimeSeconds = 30;

    explicit ResultIds(Clock clock) : m_clock(std::move(clock)) {}

    // The account's live id, or a new one.
    QString idFor(const QUuid &account);
    std::optional<QUuid> account(const QString &id) const;

private:
    struct Entry
    {
        QUuid account;
        double expires;
    };
    void forgetExpired();

    Clock m_clock;
    QHash<QString, Entry> m_ids;
};
