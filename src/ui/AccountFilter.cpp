#include "ui/AccountFilter.h"

#include <QKeyEvent>
#include <QSet>

#include <algorithm>
#include <utility>

std::optional<QUuid> AccountFilter::setAccounts(const QList<TokenAccount> &accounts, const QList<AccountGroup> &groups)
{
    m_groups = groups;
    const qsizetype current = currentIndex();
    const QList<TokenAccount> before = std::exchange(m_accounts, accounts);
    apply(current);
    if (accounts.size() <= before.size())
        return std::nullopt;
    const QUuid added = firstNew(before, accounts);
    if (!m_held)
        return added;
    if (!m_firstAddedWhileHeld)
        m_firstAddedWhileHeld = added;
    return std::nullopt;
}

std::optional<QUuid> AccountFilter::hold(bool hold)
{
    m_held = hold;
    const auto added = std::exchange(m_firstAddedWhileHeld, std::nullopt);
    return hold ? std::nullopt : added;
}

// An account added, imported or brought back is shown where it landed.
QUuid AccountFilter::firstNew(const QList<TokenAccount> &before, const QList<TokenAccount> &after)
{
    QSet<QUuid> known;
    for (const TokenAccount &account : before)
        known.insert(account.id);
    const auto added =
        std::ranges::find_if(after, [&known](const TokenAccount &account) { return !known.contains(account.id); });
    return added == after.cend() ? QUuid() : added->id;
}

bool AccountFilter::setTerm(const QString &term)
{
    if (term == m_term)
        return false;
    m_term = term;
    apply(0);
    return true;
}

std::optional<QString> AccountFilter::typed(const QString &term, const QKeyEvent &event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    if (event.key() == Qt::Key_Backspace)
        return term.isEmpty() ? std::nullopt : std::optional(term.chopped(1));
    const QString text = event.text();
    const bool printable = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); });
    // Space presses buttons; it only continues a term.
    if (text.isEmpty() || !printable || (term.isEmpty() && text.trimmed().isEmpty()))
        return std::nullopt;
    return term + text;
}

void AccountFilter::apply(qsizetype fallback)
{
    m_shown.clear();
    for (const TokenAccount &account : std::as_const(m_accounts))
        if (account.matches(m_term, m_groups))
            m_shown.append(account);
    if (currentIndex() < 0)
        m_current = m_shown.isEmpty()
                        ? std::nullopt
                        : std::optional(m_shown[std::clamp<qsizetype>(fallback, 0, m_shown.size() - 1)].id);
}

std::optional<TokenAccount> AccountFilter::shownAt(qsizetype index) const
{
    if (index < 0 || index >= m_shown.size())
        return std::nullopt;
    return m_shown.at(index);
}

qsizetype AccountFilter::currentIndex() const
{
    if (!m_current)
        return -1;
    const auto it = std::ranges::find(m_shown, *m_current, &TokenAccount::id);
    return it == m_shown.cend() ? -1 : it - m_shown.cbegin();
}

bool AccountFilter::setCurrent(const QUuid &id)
{
    if (std::ranges::find(m_shown, id, &TokenAccount::id) == m_shown.cend())
        return false;
    m_current = id;
    return true;
}

void AccountFilter::step(int by)
{
    if (!m_shown.isEmpty())
        m_current = m_shown[std::clamp<qsizetype>(currentIndex() + by, 0, m_shown.size() - 1)].id;
}
