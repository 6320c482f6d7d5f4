#include "app/TransferCommands.h"

#include "store/OffThread.h"
#include "store/TokenStore.h"
#include "ui/AccountQrDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

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

void TransferCommands::importIconPack()
{
    const TransferLayer *layer = m_messages.layer();
    if (!layer)
        return;
    const QString chosen = QFileDialog::getOpenFileName(m_messages.dialogParent(), tr("导入图标包"), QString(),
                                                        tr("Aegis 图标包 (*.zip pack.json)"));
    if (chosen.isEmpty())
        return;
    // A folder's pack is chosen by its pack.json.
    const QString path = QFileInfo(chosen).fileName() == u"pack.json" ? QFileInfo(chosen).absolutePath() : chosen;
    OffThread::run(
        this, [layer, path] { return layer->readIconPack(path); },
        [this](const std::expected<IconPack, TransferError> &pack) {
            if (!pack)
                return m_messages.fail(pack.error());
            m_store.applyIconPack(*pack, [this](qsizetype given) {
                m_messages.inform(given > 0 ? tr("已为 %n 个账户设置图标。", nullptr, given)
                                            : tr("图标包里没有适合现有账户的图标。"));
            });
        });
}
