#include "ui/CodeCopier.h"

#include "store/TokenStore.h"
#include "ui/CodeClipboard.h"
#include "ui/CodeText.h"

namespace {

constexpr std::chrono::milliseconds copiedMarkDuration(1200);

} // namespace

CodeCopier::CodeCopier(TokenStore &store, CodeClipboard &clipboard, SingleShot singleShot, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_clipboard(clipboard),
      m_singleShot(std::move(singleShot))
{}

void CodeCopier::copyAccount(const TokenAccount &account)
{
    const QUuid id = account.id; // `account` may be an element of the list the advance replaces
    if (account.otp.isHotp()) {
        // The counter moves on, and is saved, before its code shows or reaches the clipboard.
        if (const auto next = m_store.nextCode(id))
            copyShown(*next, id);
        return;
    }
    if (const QString code = m_store.codes().value(id); CodeText::isCode(code))
        copyShown(code, id);
}

void CodeCopier::copyShown(const QString &codeText, const QUuid &id)
{
    m_clipboard.copyCode(codeText, m_store.preferences().clipboardClearDelay());
    setCopiedAccountID(id);
    m_singleShot(copiedMarkDuration, this, [this, id] {
        if (m_copiedAccountID == id)
            setCopiedAccountID(std::nullopt);
    });
}

void CodeCopier::setCopiedAccountID(const std::optional<QUuid> &id)
{
    m_copiedAccountID = id;
    Q_EMIT copiedAccountChanged(id);
}
