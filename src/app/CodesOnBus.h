#pragma once

#include "app/ResultIds.h"
#include "store/AccountSearch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

#include <functional>

class CodeService;

// The running app's answers on its bus name: the GNOME Shell's search provider, a KRunner
// runner and the terminal's interface, each an adaptor on an object of its own. Every call
// is answered from the event loop; one that needs the keychain's secrets is answered once they
// came, or the keychain said why not.
class CodesOnBus : public QObject
{
    Q_OBJECT

public:
    static inline const QString searchPath = QStringLiteral("/org/corvane/Corvane/SearchProvider");
    static inline const QString runnerPath = QStringLiteral("/org/corvane/Corvane/Runner");
    static inline const QString terminalPath = QStringLiteral("/org/corvane/Corvane/Codes");

    CodesOnBus(CodeService &codes, Clock clock, QDBusConnection bus, QObject *parent = nullptr);
    ~CodesOnBus() override;

    CodeService &codes() const { return m_codes; }
    QList<AccountSearch::Match> find(const QStringList &terms) const;
    QString resultId(const QUuid &account) { return m_ids.idFor(account); }
    std::optional<QUuid> account(const QString &resultId) const { return m_ids.account(resultId); }
    // What a result says: the issuer (or the name, without one), and the name with the code
    // or why there is none.
    static QString title(const TokenAccount &account);
    QString description(const TokenAccount &account);
    // Answers `call` with `answer()` once the keychain answered for `ids`.
    void replyAfterKeychain(const QDBusMessage &call, const QList<QUuid> &ids, std::function<QVariant()> answer);
    void send(const QDBusMessage &reply) { m_bus.send(reply); }
    // A person chose a result: its code is copied (after an unlock, when the keychain is locked).
    void activate(const QString &resultId);

Q_SIGNALS:
    // The desktop's search asked for the panel, showing the accounts these terms find.
    void searchLaunched(const QString &filter);

private:
    CodeService &m_codes;
    QDBusConnection m_bus;
    ResultIds m_ids;
    QObject m_search, m_runner, m_terminal;
};
