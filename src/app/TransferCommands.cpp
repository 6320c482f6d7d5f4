#include "app/TransferCommands.h"

#include "store/TokenStore.h"
#include "ui/AccountQrDialog.h"

#include <QCoreApplication>

TransferCommands::TransferCommands(TokenStore &store, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_keyProgram(QCoreApplication::applicationFilePath()),
      m_export(store, m_messages, m_keyProgram),
      m_imports(store, m_messages, m_keyProgram)
{
    connect(&m_imports, &ImportQueue::finished, this, &TransferCommands::importsFinished);
}

void TransferCommands::showQrCode(const TokenAccount &account)
{
    if (!m_messages.ask(tr("二维码包含这个账户的密钥，任何看到或拍下它的人都能生成验证码。\n要显示吗？"),
                        tr("显示二维码")))
        return;
    const TransferLayer *layer = m_messages.layer();
    if (!layer)
        return;
    const auto token = m_store.exportToken(account);
    if (!token) {
        m_messages.inform(tr("读不到这个账户的密钥。"));
        return;
    }
    auto *dialog = new AccountQrDialog(layer->link(*token), ImportBatch::label(account.name, account.issuer),
                                       m_messages.dialogParent());
    dialog->show();
}
