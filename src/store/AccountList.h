#pragma once

#include "store/AccountDocument.h"

#include <QObject>

#include <functional>

#include <optional>

// The ordered accounts, top row first, and their edits: renaming, reordering, removing and
// putting back. Every edit announces itself; the edits a person makes are saved at once, and
// undone, with the reason, when the list cannot be saved.
class AccountList : public QObject
{
    Q_OBJECT

public:
    explicit AccountList(AccountDocument &document, QObject *parent = nullptr);

    const QList<TokenAccount> &accounts() const { return m_accounts; }
    std::optional<qsizetype> indexOf(const QUuid &id) const;
    QList<QUuid> ids() const;

    // Takes the list as loaded; nothing is saved.
    void reset(QList<TokenAccount> accounts);
    // The changes take their arguments by value: whoever hears `changed` mid-call may drop
    // what a reference would point into (a row's own id, say).

    // Trims both texts and cleans them of control and bidi characters; an empty name becomes
    // the default name. A counter-based account also takes `counter`, when given.
    std::expected<void, StoreError> rename(QUuid id, QString name, QString issuer,
                                           std::optional<quint64> counter = std::nullopt);
    // Changes the account by `change` and saves the list; `undone` says what stayed when the
    // save fails. Nothing happens for an account that is not listed.
    std::expected<void, StoreError> edit(QUuid id, const std::function<void(TokenAccount &)> &change,
                                         const QString &undone);
    // The same for every account `change` changes (it says so by returning true), saved once.
    std::expected<void, StoreError> editEach(const std::function<bool(TokenAccount &)> &change, const QString &undone);
    // Moves a counter-based account's counter on by one and saves the list: the counter it had,
    // once saved. Absent for an account that is not listed, not counter-based or at the last
    // counter, and when the save failed (the counter is then as it was).
    std::optional<quint64> advanceCounter(QUuid id);
    // Moves the account so it ends immediately above `before`.
    void move(QUuid id, QUuid before);
    // Moves the account `by` rows (negative is up), clamped to the list.
    void move(QUuid id, qint64 by);

    // These three leave saving to the caller.
    std::optional<qsizetype> remove(QUuid id);
    // At the index, or at the end of a list that has become shorter.
    void insert(qsizetype index, const TokenAccount &account);
    void append(const QList<TokenAccount> &accounts);
    // Takes out the accounts with these ids and puts the stored copy back as it was.
    void takeBack(const QList<TokenAccount> &accounts);

    std::expected<void, StoreError> save() { return m_document.saveList(m_accounts); }
    // Saves the list; when that fails it is `before` again, in memory and in the settings'
    // cache, and notSaved says why and what `undone` says stayed.
    std::expected<void, StoreError> saveOrRollBack(QList<TokenAccount> before, const QString &undone);

Q_SIGNALS:
    void changed();
    void notSaved(const QString &message);

private:
    AccountDocument &m_document;
    QList<TokenAccount> m_accounts;
};
