#include "store/DeletionJournal.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::chrono::milliseconds undoWindow = std::chrono::seconds(5);

} // namespace

DeletionJournal::DeletionJournal(KeychainCalls &keychain, AccountDocument &document, SingleShot singleShot,
                                 QObject *parent)
    : QObject(parent),
      m_keychain(keychain),
      m_document(document),
      m_singleShot(std::move(singleShot))
{}

void DeletionJournal::finishRecorded(const QList<TokenAccount> &accounts)
{
    const auto id = m_document.recordedDeletion();
    if (!id)
        return;
    if (id->isNull() || std::ranges::any_of(accounts, [&](const TokenAccount &account) { return account.id == *id; }))
        m_document.forgetDeletion(*id);
    else
        removeItem(*id);
}

void DeletionJournal::begin(PendingDeletion deletion)
{
    m_document.recordDeletion(deletion.account.id);
    m_pending = std::move(deletion);
    m_singleShot(undoWindow, this, [this, serial = ++m_serial] {
        if (serial == m_serial)
            Q_EMIT undoWindowClosed();
    });
}

std::optional<PendingDeletion> DeletionJournal::undo()
{
    if (!m_pending)
        return std::nullopt;
    ++m_serial;
    m_document.dropDeletion();
    return std::exchange(m_pending, std::nullopt);
}

std::optional<QUuid> DeletionJournal::finalize()
{
    if (!m_pending)
        return std::nullopt;
    ++m_serial;
    const QUuid id = std::exchange(m_pending, std::nullopt)->account.id;
    // The record stays until the item is gone: if the process ends first, the next start removes it.
    removeItem(id);
    return id;
}

void DeletionJournal::removeItem(const QUuid &id)
{
    m_keychain.remove(id, [this, id](bool removed) {
        if (removed)
            m_document.forgetDeletion(id);
    });
}
