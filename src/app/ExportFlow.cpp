#include "app/ExportFlow.h"

#include "app/TransferMessages.h"
#include "store/OffThread.h"
#include "store/TokenStore.h"
#include "transfer/KeyDeriver.h"
#include "transfer/SafeFile.h"
#include "ui/PasswordDialog.h"

#include <QDir>
#include <QFileDialog>

using namespace Qt::Literals::StringLiterals;

namespace {

QString vaultFilter()
{
    return ExportFlow::tr("Aegis 加密备份 (*.json)");
}

QString linksFilter()
{
    return ExportFlow::tr("otpauth 链接，不加密 (*.txt)");
}

} // namespace

ExportFlow::ExportFlow(TokenStore &store, const TransferMessages &messages, const QString &keyProgram, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_messages(messages),
      m_keyProgram(keyProgram)
{}

ExportFlow::~ExportFlow() = default;

void ExportFlow::exportBackup()
{
    const TransferLayer *layer = m_messages.layer();
    if (!layer)
        return;
    const QList<ImportedToken> tokens = m_store.exportTokens();
    if (tokens.isEmpty()) {
        m_messages.inform(tr("没有可导出的账户。"));
        return;
    }
    QString filter = vaultFilter();
    const QString path = QFileDialog::getSaveFileName(m_messages.dialogParent(), tr("导出备份"),
                                                      QDir::home().filePath(u"corvane-backup.json"_s),
                                                      vaultFilter() + u";;"_s + linksFilter(), &filter);
    if (path.isEmpty())
        return;
    if (filter != linksFilter())
        exportVault(*layer, tokens, path);
    else if (m_messages.ask(
                 tr("这个文件不加密：任何拿到它的人都能生成你全部账户的验证码。只在马上导入另一个应用并随后删"
                    "除文件时使用。\n仍要导出吗？"),
                 tr("仍然导出")))
        save(path, layer->writeLinks(tokens), tokens.size());
}

// Encrypts the tokens once the password's key is derived off the main thread, then saves them.
void ExportFlow::exportVault(const TransferLayer &layer, const QList<ImportedToken> &tokens, const QString &path)
{
    PasswordDialog dialog(PasswordDialog::Mode::choose,
                          tr("备份用这个密码加密，保存为 Aegis 格式，Aegis 等应用也能导入。忘记密码就无法打开备份。"),
                          m_messages.dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!m_deriver)
        m_deriver = std::make_unique<KeyDeriver>(m_keyProgram);
    const KeyDerivation slot = layer.newVaultSlot();
    m_deriver->derive(dialog.password().toUtf8(), slot, [=, this, &layer](const std::optional<QByteArray> &key) {
        if (!key)
            return m_messages.fail(TransferError(TransferError::Kind::fileError, tr("加密失败")));
        // The icons' files are read, and the vault sealed, off the main thread.
        OffThread::run(
            this,
            [icons = m_store.icons(), tokens, slot, key = *key, &layer] {
                return layer.writeVault(icons.withBytes(tokens), slot, key);
            },
            [this, path, count = tokens.size()](const std::expected<QByteArray, TransferError> &vault) {
                if (vault)
                    save(path, *vault, count);
                else
                    m_messages.fail(vault.error());
            });
    });
}

void ExportFlow::save(const QString &path, const QByteArray &bytes, qsizetype count)
{
    if (const auto written = SafeFile::write(path, bytes); !written) {
        m_messages.fail(written.error());
        return;
    }
    const qsizetype missing = m_store.accounts().size() - count;
    m_messages.inform(tr("已导出 %n 个账户。", nullptr, count)
                      + (missing > 0 ? tr("另有 %n 个账户读不到密钥，没有导出。", nullptr, missing) : QString()));
}
