#pragma once

#include "store/AccountDocument.h"

#include <QObject>

#include <optional>

// The ordered accounts, top row first, and their edits: renaming, reordering, removing and
// putting back. Every edit announces itself; the edits a person makes are saved at once.
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
    // Trims both texts and cleans them of control and bidi characters; an empty name becomes
    // the default name.
    void rename(const QUuid &id, const QString &name, const QString &issuer);
    // Moves the account so it ends immediately above `before`.
    void move(const QUuid &id, const QUuid &before);
    // Moves the account `by` rows (negative is up), clamped to the list.
    void move(const QUuid &id, qint64 by);

    // These three leave saving to the caller.
    std::optional<qsizetype> remove(const QUuid &id);
    // At the index, or at the end of a list that has become shorter.
    void insert(qsizetype index, const TokenAccount &account);
    void append(const QList<TokenAccount> &accounts);
    // Takes out the accounts with these ids and puts the stored copy back as it was.
    void takeBack(const QList<TokenAccount> &accounts);

    std::expected<void, StoreError> save() { return m_document.saveList(m_accounts); }
    // For changes that cannot be taken back: the list in memory stays, and the next save retries.
    void saveOrWarn();

Q_SIGNALS:
    void changed();

private:
    AccountDocument &m_document;
    QList<TokenAccount> m_accounts;
};
