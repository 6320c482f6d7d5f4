#pragma once

#include "engine/Clock.h"
#include "ui/UnlockThenAdd.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class KeychainStatusView;
class TokenStore;

// Fills the keychain status line: an add the locked keyring refused, offered again until it
// is, else the latest refusal while it lasts (3 seconds), else why the keychain cannot be used,
// with the action that helps, else nothing.
class KeychainStatusPresenter : public QObject
{
    Q_OBJECT

public:
    KeychainStatusPresenter(TokenStore &store, KeychainStatusView &view, SingleShot singleShot,
                            QObject *parent = nullptr);

    bool isShown() const;
    // Shows what the keychain refused just now.
    void showMessage(const QString &message);
    // Offers "解锁并添加" for the secret the locked keyring refused.
    void offerLockedAdd(const QString &text);
    // A lasting line from elsewhere in the app (backups that fail), shown while the keychain
    // has nothing to say; empty text for none. Its action button runs `act`.
    void setNote(const QString &text, const QString &action, std::function<void()> act);

Q_SIGNALS:
    // The person asked to add again, and the keyring is open.
    void addAgainRequested(const QString &text);
    // The line appeared or went: the panel changes height.
    void shownChanged();

private:
    void update();
    bool showsNote() const;
    void actionRequested();
    void addAgain();

    TokenStore &m_store;
    KeychainStatusView &m_view;
    SingleShot m_singleShot;
    // Made before the presenter follows the keychain: a pending add goes before the line's update.
    UnlockThenAdd m_unlockThenAdd;
    std::optional<QString> m_message;
    std::optional<QString> m_lockedAdd;
    QString m_note;
    QString m_noteAction;
    std::function<void()> m_noteAct;
};
