#include "ui/KeychainStatusPresenter.h"

#include "store/TokenStore.h"
#include "ui/KeychainStatusView.h"

namespace {

constexpr std::chrono::milliseconds messageDuration(3000);

} // namespace

KeychainStatusPresenter::KeychainStatusPresenter(TokenStore &store, KeychainStatusView &view, SingleShot singleShot,
                                                 QObject *parent)
    : QObject(parent),
      m_store(store),
      m_view(view),
      m_singleShot(std::move(singleShot)),
      m_unlockThenAdd(store)
{
    connect(&m_unlockThenAdd, &UnlockThenAdd::addRequested, this, &KeychainStatusPresenter::addAgain);
    connect(&m_store, &TokenStore::keychainStatusChanged, this, &KeychainStatusPresenter::update);
    connect(&m_store, &TokenStore::keychainMessage, this, &KeychainStatusPresenter::showMessage);
    connect(&m_store, &TokenStore::changeNotSaved, this, &KeychainStatusPresenter::showMessage);
    connect(&m_view, &KeychainStatusView::actionRequested, this, &KeychainStatusPresenter::actionRequested);
    update();
}

bool KeychainStatusPresenter::isShown() const
{
    return !m_view.text().isEmpty();
}

void KeychainStatusPresenter::update()
{
    const bool shown = isShown();
    using Status = KeychainStore::Status;
    if (m_lockedAdd)
        m_view.setStatus(LockedKeychainError().description(), UnlockThenAdd::actionText());
    else
        switch (m_message ? Status::Available : m_store.keychainStatus()) {
        case Status::Locked:
            m_view.setStatus(tr("钥匙串已锁定。"), tr("解锁"));
            break;
        case Status::Unreachable:
            m_view.setStatus(tr("无法连接钥匙串服务，稍后自动重试。"), QString());
            break;
        case Status::NoDefaultKeyring:
            m_view.setStatus(tr("没有默认钥匙串。"), tr("创建"));
            break;
        case Status::Unknown:
        case Status::Available:
            if (showsNote())
                m_view.setStatus(m_note, m_noteAction);
            else
                m_view.setStatus(m_message.value_or(QString()), QString());
            break;
        }
    if (shown != isShown())
        Q_EMIT shownChanged();
}

void KeychainStatusPresenter::offerLockedAdd(const QString &text)
{
    m_lockedAdd = text;
    update();
}

void KeychainStatusPresenter::setNote(const QString &text, const QString &action, std::function<void()> act)
{
    m_note = text;
    m_noteAction = action;
    m_noteAct = std::move(act);
    update();
}

bool KeychainStatusPresenter::showsNote() const
{
    const auto status = m_store.keychainStatus();
    return !m_note.isEmpty() && !m_message && !m_lockedAdd
           && (status == KeychainStore::Status::Available || status == KeychainStore::Status::Unknown);
}

void KeychainStatusPresenter::actionRequested()
{
    if (showsNote() && m_noteAct)
        return m_noteAct();
    if (m_lockedAdd)
        m_unlockThenAdd.unlockAndAdd();
    else
        m_store.unlockKeychain();
}

void KeychainStatusPresenter::addAgain()
{
    const QString text = *std::exchange(m_lockedAdd, std::nullopt);
    update();
    Q_EMIT addAgainRequested(text);
}

void KeychainStatusPresenter::showMessage(const QString &message)
{
    m_message = message;
    update();
    m_singleShot(messageDuration, this, [this, message] {
        if (m_message != message)
            return;
        m_message.reset();
        update();
    });
}
