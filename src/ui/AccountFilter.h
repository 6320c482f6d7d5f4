#pragma once

#include "store/TokenAccount.h"

#include <QList>

#include <optional>

class QKeyEvent;

// What the account list shows, without a widget: the accounts, the term typed to filter
// them by name, issuer, note and group names, the accounts it lets through, and the current one among those
// (the one the keys act on). While held (an import adding batch after batch) the current
// account stays; released, the first account added meanwhile becomes current.
class AccountFilter
{
public:
    // The account to bring into view: the first one added, unless held.
    std::optional<QUuid> setAccounts(const QList<TokenAccount> &accounts, const QList<AccountGroup> &groups);
    // False when the term was that already.
    bool setTerm(const QString &term);
    // The term after a key typed over it (text added, a character taken off with Backspace),
    // or absent for any other key.
    static std::optional<QString> typed(const QString &term, const QKeyEvent &event);
    // The account to bring into view when released.
    std::optional<QUuid> hold(bool hold);

    const QString &term() const { return m_term; }
    const QList<TokenAccount> &accounts() const { return m_accounts; }
    // The accounts the term lets through, in list order.
    const QList<TokenAccount> &shown() const { return m_shown; }
    // The account of the shown row at `index`, counted from the top of the filtered list.
    std::optional<TokenAccount> shownAt(qsizetype index) const;

    // -1 while no account shows.
    qsizetype currentIndex() const;
    std::optional<TokenAccount> current() const { return shownAt(currentIndex()); }
    bool isCurrent(const QUuid &id) const { return m_current == id; }
    // False when the term hides the account.
    bool setCurrent(const QUuid &id);
    // Moves the current account `by` rows, staying among the shown ones.
    void step(int by);

private:
    // A current account the term hides gives way to the one now at `fallback`.
    void apply(qsizetype fallback);
    static QUuid firstNew(const QList<TokenAccount> &before, const QList<TokenAccount> &after);

    QList<TokenAccount> m_accounts;
    QList<AccountGroup> m_groups;
    QList<TokenAccount> m_shown;
    QString m_term;
    std::optional<QUuid> m_current;
    bool m_held = false;
    std::optional<QUuid> m_firstAddedWhileHeld;
};
