#include "app/TransferCommands.h"

#include "store/TokenStore.h"
#include "ui/AccountQrDialog.h"
#include "ui/ImportSummaryDialog.h"
#include "ui/PasswordDialog.h"
#include "ui/TransferLoader.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString vaultFilter = u"Aegis 加密备份 (*.json)"_s;
const QString linksFilter = u"otpauth 链接，不加密 (*.txt)"_s;
const QString importFilter = u"验证码备份 (*.json *.2fas *.txt);;所有文件 (*)"_s;

} // namespace

TransferCommands::TransferCommands(TokenStore &store, QObject *parent) : QObject(parent), m_store(store) {}

// A message box with the buttons in Chinese: `accept` (when given) and a dismissing one.
bool TransferCommands::ask(QMessageBox::Icon icon, const QString &text, const QString &accept)
{
    QMessageBox box(icon, u"岚签"_s, text, QMessageBox::NoButton, m_dialogParent);
    QPushButton *yes = accept.isEmpty() ? nullptr : box.addButton(accept, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(accept.isEmpty() ? u"好"_s : u"取消"_s, QMessageBox::RejectRole));
    box.exec();
    return yes && box.clickedButton() == yes;
}

void TransferCommands::inform(const QString &text)
{
    ask(QMessageBox::Information, text, {});
}

void TransferCommands::fail(const TransferError &error)
{
    ask(QMessageBox::Warning, error.description(), {});
}

// The file's bytes; absent when the person cancelled, or encryption failed (and was reported).
std::optional<QByteArray> TransferCommands::encode(const TransferLayer &layer, const QList<ImportedToken> &tokens,
                                                   bool links)
{
    if (links) {
        if (!ask(
                QMessageBox::Warning,
                u"这个文件不加密：任何拿到它的人都能生成你全部账户的验证码。只在马上导入另一个应用并随后删除文件时使用。仍要导出吗？"_s,
                u"仍然导出"_s))
            return std::nullopt;
        return layer.writeLinks(tokens);
    }
    PasswordDialog dialog(PasswordDialog::Mode::choose,
                          u"备份用这个密码加密，保存为 Aegis 格式，Aegis 等应用也能导入。忘记密码就无法打开备份。"_s,
                          m_dialogParent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    auto vault = layer.writeVault(tokens, dialog.password());
    if (!vault) {
        fail(vault.error());
        return std::nullopt;
    }
    return std::move(*vault);
}

// The transfer layer; absent, and reported, when its plugin cannot be opened.
const TransferLayer *TransferCommands::layer()
{
    const auto loaded = TransferLoader::layer();
    if (!loaded)
        fail(loaded.error());
    return loaded.value_or(nullptr);
}

void TransferCommands::exportBackup()
{
    const TransferLayer *layer = this->layer();
    if (!layer)
        return;
    const QList<ImportedToken> tokens = m_store.exportTokens();
    if (tokens.isEmpty()) {
        inform(u"没有可导出的账户。"_s);
        return;
    }
    QString filter = vaultFilter;
    const QString path =
        QFileDialog::getSaveFileName(m_dialogParent, u"导出备份"_s, QDir::home().filePath(u"corvane-backup.json"_s),
                                     vaultFilter + u";;"_s + linksFilter, &filter);
    if (path.isEmpty())
        return;
    const auto bytes = encode(*layer, tokens, filter == linksFilter);
    if (!bytes)
        return;
    if (const auto written = layer->writeFile(path, *bytes); !written) {
        fail(written.error());
        return;
    }
    const qsizetype missing = m_store.accounts().size() - tokens.size();
    inform(u"已导出 %1 个账户。"_s.arg(tokens.size())
           + (missing > 0 ? u"另有 %1 个账户读不到密钥，没有导出。"_s.arg(missing) : QString()));
}

void TransferCommands::chooseAndImport()
{
    const QString path = QFileDialog::getOpenFileName(m_dialogParent, u"导入"_s, QDir::homePath(), importFilter);
    if (!path.isEmpty())
        importFile(path);
}

void TransferCommands::importFile(const QString &path)
{
    const TransferLayer *layer = this->layer();
    if (!layer)
        return;
    const auto bytes = layer->readFile(path);
    if (!bytes) {
        fail(bytes.error());
        return;
    }
    auto batch = layer->readBackup(*bytes, {});
    while (!batch
           && (batch.error().kind() == TransferError::Kind::passwordRequired
               || batch.error().kind() == TransferError::Kind::wrongPassword)) {
        PasswordDialog dialog(PasswordDialog::Mode::enter, batch.error().description(), m_dialogParent);
        if (dialog.exec() != QDialog::Accepted)
            return;
        batch = layer->readBackup(*bytes, dialog.password());
    }
    if (!batch) {
        fail(batch.error());
        return;
    }
    batch->setAsidePresent(m_store.exportTokens());
    ImportSummaryDialog summary(*batch, m_dialogParent);
    if (summary.exec() != QDialog::Accepted)
        return;
    m_store.addAll(batch->tokens, [self = QPointer(this)](const ImportSummary &result) {
        if (self)
            self->reportImport(result);
    });
}

void TransferCommands::reportImport(const ImportSummary &result)
{
    QStringList lines{u"已添加 %1 个账户。"_s.arg(result.added.size())};
    for (const ImportSummary::Refusal &refusal : result.refused)
        lines << u"没有添加 %1：%2"_s.arg(ImportBatch::label(refusal.name, refusal.issuer), refusal.reason);
    inform(lines.join(u'\n'));
}

void TransferCommands::showQrCode(const TokenAccount &account)
{
    if (!ask(QMessageBox::Question, u"二维码包含这个账户的密钥，任何看到或拍下它的人都能生成验证码。要显示吗？"_s,
             u"显示二维码"_s))
        return;
    const TransferLayer *layer = this->layer();
    if (!layer)
        return;
    const auto token = m_store.exportToken(account);
    if (!token) {
        inform(u"读不到这个账户的密钥。"_s);
        return;
    }
    auto *dialog =
        new AccountQrDialog(layer->link(*token), ImportBatch::label(account.name, account.issuer), m_dialogParent);
    dialog->show();
}
