#include "app/TransferCommands.h"

#include "store/TokenStore.h"
#include "transfer/SafeFile.h"
#include "transfer/SlicedFileReader.h"
#include "transfer/TransferLoader.h"
#include "ui/AccountQrDialog.h"
#include "ui/ImportRunner.h"
#include "ui/ImportSummaryDialog.h"
#include "ui/PanelMessageBox.h"
#include "ui/PasswordDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QtConcurrent>

#include <malloc.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString vaultFilter()
{
    return TransferCommands::tr("Aegis 加密备份 (*.json)");
}

QString linksFilter()
{
    return TransferCommands::tr("otpauth 链接，不加密 (*.txt)");
}

QString importFilter()
{
    return TransferCommands::tr("验证码备份 (*.json *.2fas *.txt *.csv *.maFile *.bin *.authpro);;所有文件 (*)");
}

} // namespace

TransferCommands::TransferCommands(TokenStore &store, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_keyProgram(QCoreApplication::applicationFilePath())
{}

TransferCommands::~TransferCommands()
{
    m_parseStop.request_stop();
}

// A message with `choice` offered beside "取消", or with "确定" alone.
bool TransferCommands::ask(const QString &text, const QString &choice)
{
    PanelMessageBox box(text, choice, m_dialogParent);
    return box.exec() == QDialog::Accepted && !choice.isEmpty();
}

void TransferCommands::inform(const QString &text)
{
    ask(text, {});
}

void TransferCommands::fail(const TransferError &error)
{
    inform(error.description());
}

// The transfer layer; absent, and reported, when its plugin cannot be opened.
const TransferLayer *TransferCommands::layer()
{
    const auto loaded = TransferLoader::layer();
    if (!loaded)
        fail(loaded.error());
    return loaded.value_or(nullptr);
}

// Encrypts the tokens once the password's key is derived off the main thread, then saves them.
void TransferCommands::exportVault(const TransferLayer &layer, const QList<ImportedToken> &tokens, const QString &path)
{
    PasswordDialog dialog(PasswordDialog::Mode::choose,
                          tr("备份用这个密码加密，保存为 Aegis 格式，Aegis 等应用也能导入。忘记密码就无法打开备份。"),
                          m_dialogParent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!m_deriver)
        m_deriver = std::make_unique<KeyDeriver>(m_keyProgram);
    const KeyDerivation slot = layer.newVaultSlot();
    m_deriver->derive(dialog.password().toUtf8(), slot, [=, this, &layer](const std::optional<QByteArray> &key) {
        const auto vault = key ? layer.writeVault(tokens, slot, *key)
                               : std::unexpected(TransferError(TransferError::Kind::fileError, tr("加密失败")));
        if (vault)
            save(path, *vault, tokens.size());
        else
            fail(vault.error());
    });
}

void TransferCommands::save(const QString &path, const QByteArray &bytes, qsizetype count)
{
    if (const auto written = SafeFile::write(path, bytes); !written) {
        fail(written.error());
        return;
    }
    const qsizetype missing = m_store.accounts().size() - count;
    inform(tr("已导出 %n 个账户。", nullptr, count)
           + (missing > 0 ? tr("另有 %n 个账户读不到密钥，没有导出。", nullptr, missing) : QString()));
}

void TransferCommands::exportBackup()
{
    const TransferLayer *layer = this->layer();
    if (!layer)
        return;
    const QList<ImportedToken> tokens = m_store.exportTokens();
    if (tokens.isEmpty()) {
        inform(tr("没有可导出的账户。"));
        return;
    }
    QString filter = vaultFilter();
    const QString path =
        QFileDialog::getSaveFileName(m_dialogParent, tr("导出备份"), QDir::home().filePath(u"corvane-backup.json"_s),
                                     vaultFilter() + u";;"_s + linksFilter(), &filter);
    if (path.isEmpty())
        return;
    if (filter != linksFilter())
        exportVault(*layer, tokens, path);
    else if (ask(tr("这个文件不加密：任何拿到它的人都能生成你全部账户的验证码。只在马上导入另一个应用并随后删除文件时使"
                    "用。\n仍要导出吗？"),
                 tr("仍然导出")))
        save(path, layer->writeLinks(tokens), tokens.size());
}

void TransferCommands::chooseAndImport()
{
    enqueue(QString());
}

void TransferCommands::importFiles(const QStringList &paths)
{
    const qsizetype room = std::max<qsizetype>(maxQueued - m_queue.size() - (m_importing ? 1 : 0), 0);
    const QStringList left = paths.mid(room);
    for (const QString &path : paths.first(std::min(room, paths.size())))
        enqueue(path);
    // Said on the next turn of the event loop: a caller over the bus has its answer first.
    if (!left.isEmpty())
        QMetaObject::invokeMethod(
            this,
            [this, text = tr("一次最多排队导入 %n 个文件，这些文件没有导入：", nullptr, int(maxQueued)) + u'\n'
                          + left.join(u'\n')] { inform(text); },
            Qt::QueuedConnection);
}

void TransferCommands::importBatch(const ImportBatch &batch)
{
    enqueue(batch);
}

void TransferCommands::enqueue(Queued entry)
{
    m_queue.append(std::move(entry));
    if (!m_importing)
        importNext();
}

void TransferCommands::importNext()
{
    m_importing = !m_queue.isEmpty();
    if (!m_importing) {
        Q_EMIT importsFinished();
        return;
    }
    Queued next = m_queue.takeFirst();
    if (auto *batch = std::get_if<ImportBatch>(&next))
        return offer(std::move(*batch));
    QString path = std::get<QString>(next);
    if (path.isEmpty())
        path = QFileDialog::getOpenFileName(m_dialogParent, tr("导入"), QDir::homePath(), importFilter());
    if (path.isEmpty())
        return importDone();
    m_reader = std::make_unique<SlicedFileReader>(
        path, [this](std::expected<QByteArray, TransferError> bytes) { fileRead(std::move(bytes)); });
}

// A large file is parsed on a worker thread: without a password the parser is a pure
// function of the bytes.
void TransferCommands::fileRead(std::expected<QByteArray, TransferError> bytes)
{
    m_reader.release()->deleteLater(); // this runs inside it
    if (!bytes)
        fail(bytes.error());
    const TransferLayer *layer = bytes ? this->layer() : nullptr;
    if (!layer)
        return importDone();
    auto *watcher = new QFutureWatcher<ParseResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, layer, bytes = *bytes] {
        watcher->deleteLater();
        parsed(*layer, bytes, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([layer, bytes = std::move(*bytes), stop = m_parseStop.get_token()] {
        return layer->readBackup(bytes, QString(), stop);
    }));
}

void TransferCommands::parsed(const TransferLayer &layer, const QByteArray &bytes, const ParseResult &batch)
{
    if (!batch && batch.error().kind() == TransferError::Kind::passwordRequired)
        openEncrypted(layer, bytes, batch.error().description());
    else
        offer(batch);
}

// Asks for the password until it opens the backup; the dialog stays responsive while the
// opener derives keys off the main thread.
void TransferCommands::openEncrypted(const TransferLayer &layer, const QByteArray &bytes, const QString &message)
{
    if (!m_opener)
        m_opener = std::make_unique<ImportOpener>(layer, m_keyProgram);
    PasswordDialog dialog(PasswordDialog::Mode::enter, message, m_dialogParent);
    std::optional<ImportOpener::Result> opened;
    connect(&dialog, &PasswordDialog::submitted, &dialog, [&] {
        dialog.setBusy(true);
        m_opener->open(bytes, dialog.password(), [&](const ImportOpener::Result &result) {
            if (!result && result.error().mayTakeAnotherPassword()) {
                dialog.refuse(result.error().description());
                return;
            }
            opened = result;
            dialog.accept();
        });
    });
    if (dialog.exec() != QDialog::Accepted) {
        m_opener->cancel();
        return importDone();
    }
    offer(*opened);
}

void TransferCommands::offer(ParseResult batch)
{
    if (!batch) {
        fail(batch.error());
        return importDone();
    }
    batch->setAsidePresent(m_store.exportTokens());
    ImportSummaryDialog summary(*batch, m_dialogParent);
    if (summary.exec() != QDialog::Accepted)
        return importDone();
    addConfirmed(*batch);
}

void TransferCommands::addConfirmed(const ImportBatch &batch)
{
    ImportRunner::start(m_store, batch.tokens, *this, m_dialogParent, [this](const ImportSummary &result) {
        reportImport(result);
        importDone();
    });
}

// What one import read goes back to the system before the next file, also when it was
// cancelled: a large file leaves many freed pages behind.
void TransferCommands::importDone()
{
    malloc_trim(0);
    QMetaObject::invokeMethod(this, &TransferCommands::importNext, Qt::QueuedConnection);
}

void TransferCommands::reportImport(const ImportSummary &result)
{
    QStringList lines{tr("已添加 %n 个账户。", nullptr, result.added.size())};
    if (result.notTried > 0)
        lines << tr("导入已停止，其余 %n 个账户没有添加。", nullptr, result.notTried);
    // A keychain that refused every account of a large import would fill the screen.
    constexpr qsizetype namedAtMost = 20;
    for (const ImportSummary::Refusal &refusal : result.refused.first(std::min(result.refused.size(), namedAtMost)))
        lines << tr("没有添加 %1：%2").arg(ImportBatch::label(refusal.name, refusal.issuer), refusal.reason);
    if (result.refused.size() > namedAtMost)
        lines << tr("另有 %n 个账户没有添加。", nullptr, result.refused.size() - namedAtMost);
    inform(lines.join(u'\n'));
}

void TransferCommands::showQrCode(const TokenAccount &account)
{
    if (!ask(tr("二维码包含这个账户的密钥，任何看到或拍下它的人都能生成验证码。\n要显示吗？"), tr("显示二维码")))
        return;
    const TransferLayer *layer = this->layer();
    if (!layer)
        return;
    const auto token = m_store.exportToken(account);
    if (!token) {
        inform(tr("读不到这个账户的密钥。"));
        return;
    }
    auto *dialog =
        new AccountQrDialog(layer->link(*token), ImportBatch::label(account.name, account.issuer), m_dialogParent);
    dialog->show();
}
