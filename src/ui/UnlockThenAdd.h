#pragma once

#include <QObject>
#include <QString>

class TokenStore;

// An add the locked keyring refused, tried again at the person's word ("解锁并添加"): the
// keyring is asked to open, and the add goes on once it is open, at once when it is already.
// A dismissed prompt leaves the add waiting for the keyring to open some other way.
class UnlockThenAdd : public QObject
{
    Q_OBJECT

public:
    static QString actionText() { return tr("解锁并添加"); }

    explicit UnlockThenAdd(TokenStore &store, QObject *parent = nullptr);

    // The person pressed "解锁并添加".
    void unlockAndAdd();

Q_SIGNALS:
    // The keyring is open: add again.
    void addRequested();

private:
    void addIfOpen();

    TokenStore &m_store;
    bool m_waiting = false; // the person asked to unlock and add
};
