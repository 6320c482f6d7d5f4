#include "app/CodeService.h"

#include "app/CodeTyper.h"
#include "store/TokenStore.h"

#include <QTimer>

#include <memory>

namespace {

// How long a person may take over the keychain's unlock prompt, and how long a keychain may
// take to answer at all.
constexpr std::chrono::minutes unlockBound(2);
constexpr std::chrono::milliseconds answerBound(4500);

} // namespace

CodeService::CodeService(TokenStore &store, Copy copy, Clock clock, Locked sessionLocked, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_copy(std::move(copy)),
      m_clock(std::move(clock)),
      m_sessionLocked(std::move(sessionLocked))
{}

const QList<TokenAccount> &CodeService::accounts() const
{
    return m_store.accounts();
}

std::optional<TokenAccount> CodeService::account(const QUuid &id) const
{
    const auto found = std::ranges::find(accounts(), id, &TokenAccount::id);
    return found == accounts().cend() ? std::nullopt : std::optional(*found);
}

QString CodeService::unusable() const
{
    if (m_sessionLocked())
        return tr("会话已锁定");
    switch (m_store.keychainStatus()) {
    case KeychainStore::Status::Locked:
        return tr("钥匙串已锁定");
    case KeychainStore::Status::NoDefaultKeyring:
    case KeychainStore::Status::Unreachable:
        return tr("无法读取钥匙串");
    case KeychainStore::Status::Unknown:
    case KeychainStore::Status::Available:
        break;
    }
    return {};
}

QString CodeService::withheld() const
{
    const QString reason = unusable();
    return reason.isEmpty() && m_store.preferences().hideCodes() ? tr("验证码已隐藏") : reason;
}

std::optional<QString> CodeService::shownCode(const TokenAccount &account)
{
    if (account.otp.isHotp() || !withheld().isEmpty())
        return std::nullopt;
    return currentCode(account.id);
}

std::optional<QString> CodeService::currentCode(const QUuid &id)
{
    m_store.refreshCodes(m_clock()); // the panel's timer stops while it is hidden
    const auto code = m_store.codes().constFind(id);
    return code == m_store.codes().cend() ? std::nullopt : std::optional(*code);
}

bool CodeService::answered(const QList<QUuid> &ids) const
{
    const auto status = m_store.keychainStatus();
    if (status != KeychainStore::Status::Available && status != KeychainStore::Status::Unknown)
        return true;
    return status == KeychainStore::Status::Available
           && std::ranges::all_of(ids, [this](const QUuid &id) { return m_store.knowsSecret(id); });
}

void CodeService::afterKeychain(const QList<QUuid> &ids, std::chrono::milliseconds bound, std::function<void()> then)
{
    if (answered(ids)) {
        then();
        return;
    }
    // One waiter per call: it ends at the first answer that settles it, or at the bound.
    auto *waiter = new QObject(this);
    const auto finish = [waiter, pending = std::make_shared<std::function<void()>>(std::move(then))] {
        if (const auto then = std::exchange(*pending, {})) {
            waiter->deleteLater();
            then();
        }
    };
    const auto check = [this, ids, finish] {
        if (answered(ids))
            finish();
    };
    connect(&m_store, &TokenStore::codesChanged, waiter, check);
    connect(&m_store, &TokenStore::keychainStatusChanged, waiter, check);
    connect(&m_store, &TokenStore::keychainMessage, waiter, finish); // a dismissed prompt
    QTimer::singleShot(bound, waiter, finish);
}

void CodeService::whenUsable(const QUuid &id, std::function<void()> then)
{
    afterKeychain({}, answerBound, [this, id, then = std::move(then)] {
        const bool locked = m_store.keychainStatus() == KeychainStore::Status::Locked && !m_sessionLocked();
        if (locked)
            m_store.unlockKeychain();
        afterKeychain({id}, locked ? unlockBound : answerBound, then);
    });
}

bool CodeService::copy(const QUuid &id)
{
    const auto found = account(id);
    if (!found || !unusable().isEmpty() || !m_store.knowsSecret(id))
        return false;
    m_store.refreshCodes(m_clock());
    m_copy(*found);
    return true;
}

std::optional<QString> CodeService::take(const QUuid &id)
{
    const auto found = account(id);
    if (!found || !unusable().isEmpty())
        return std::nullopt;
    if (found->otp.isHotp())
        return m_store.nextCode(id);
    return currentCode(id);
}

QString CodeService::typingUnavailable() const
{
    return m_typer ? m_typer->unavailableReason() : tr("此桌面不支持模拟键盘输入");
}

void CodeService::type(const QUuid &id, std::function<void(bool typed)> done)
{
    if (!typingUnavailable().isEmpty()) {
        copy(id); // what can be done instead
        done(false);
        return;
    }
    const auto code = take(id);
    if (!code) {
        done(false);
        return;
    }
    m_typer->type(*code, std::move(done));
}
