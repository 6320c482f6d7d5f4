#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <optional>

class CodeTyper;
class TokenStore;

// What the desktop's search, KRunner and the terminal may learn of the codes, and their one
// way to copy or type one: the panel's own copier, so the clipboard's clear delay and a
// counter's advance-then-save hold on every path. Nothing is said about a code while the
// session is locked, the keychain cannot give it or codes are hidden.
class CodeService : public QObject
{
    Q_OBJECT

public:
    using Locked = std::function<bool()>;
    // Copies an account's code as its row's click does (the panel's copier).
    using Copy = std::function<void(const TokenAccount &account)>;

    CodeService(TokenStore &store, Copy copy, Clock clock, Locked sessionLocked, QObject *parent = nullptr);

    // Where codes are typed; without one nothing is.
    void setTyper(CodeTyper *typer) { m_typer = typer; }

    const QList<TokenAccount> &accounts() const;
    std::optional<TokenAccount> account(const QUuid &id) const;
    bool sessionLocked() const { return m_sessionLocked(); }
    // Why no code may be shown now; empty when one may.
    QString withheld() const;
    // Why no code can be used now (the session or the keychain is locked, or it cannot be
    // read); empty when one can. Hidden codes may still be copied and typed.
    QString unusable() const;
    // The time-based code the account shows now, when none is withheld; a counter's code is
    // made only when it is used.
    std::optional<QString> shownCode(const TokenAccount &account);
    // Calls `then` once the keychain has answered for these accounts (their secrets came, or
    // it said why not), at most `bound` from now.
    void afterKeychain(const QList<QUuid> &ids, std::chrono::milliseconds bound, std::function<void()> then);
    // A person asked for a code: once the keychain answered, and after its own unlock prompt
    // when it is locked, `then` runs.
    void whenUsable(const QUuid &id, std::function<void()> then);
    // Copies the account's code as its row's click does; false when no code can be used.
    bool copy(const QUuid &id);
    // The account's code to hand out: a counter advances and is saved first.
    std::optional<QString> take(const QUuid &id);
    // Why codes cannot be typed here; empty when they can.
    QString typingUnavailable() const;
    // Types the account's code into the window in use; `done` learns whether it was typed.
    // Where codes cannot be typed, the code is copied instead.
    void type(const QUuid &id, std::function<void(bool typed)> done);

private:
    bool answered(const QList<QUuid> &ids) const;
    std::optional<QString> currentCode(const QUuid &id);

    TokenStore &m_store;
    Copy m_copy;
    Clock m_clock;
    Locked m_sessionLocked;
    CodeTyper *m_typer = nullptr;
};
