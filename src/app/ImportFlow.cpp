#include "app/ImportFlow.h"

#include "app/TransferMessages.h"
#include "store/ImportSummary.h"
#include "store/TokenStore.h"
#include "transfer/ImportOpener.h"
#include "transfer/SlicedFileReader.h"
#include "ui/ImportRunner.h"
#include "ui/ImportSummaryDialog.h"
#include "ui/PasswordDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QtConcurrent>

using namespace Qt::Literals::StringLiterals;

ImportFlow::ImportFlow(TokenStore &store, const TransferMessages &messages, const QString &keyProgram, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_messages(messages),
      m_keyProgram(keyProgram)
{}

ImportFlow::~ImportFlow()
{
    m_parseStop.request_stop();
}

void ImportFlow::start(Source source)
{
    if (auto *batch = std::get_if<ImportBatch>(&source))
        return offer(std::move(*batch));
    QString path = std::get<QString>(source);
    if (path.isEmpty())
        path = QFileDialog::getOpenFileName(
            m_messages.dialogParent(), tr("导入"), QDir::homePath(),
            tr("验证码备份 (*.json *.2fas *.txt *.csv *.maFile *.bin *.authpro);;所有文件 (*)"));
    if (path.isEmpty())
        Q_EMIT finished();
    else
        m_reader = std::make_unique<SlicedFileReader>(
            path, [this](std::expected<QByteArray, TransferError> bytes) { fileRead(std::move(bytes)); });
}

// A large file is parsed on a worker thread: without a password the parser is a pure
// function of the bytes.
void ImportFlow::fileRead(std::expected<QByteArray, TransferError> bytes)
{
    m_reader.release()->deleteLater(); // this runs inside it
    if (!bytes)
        m_messages.fail(bytes.error());
    const TransferLayer *layer = bytes ? m_messages.layer() : nullptr;
    if (!layer) {
        Q_EMIT finished();
        return;
    }
    auto *watcher = new QFutureWatcher<ParseResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, layer, bytes = *bytes] {
        watcher->deleteLater();
        parsed(*layer, bytes, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([layer, bytes = std::move(*bytes), stop = m_parseStop.get_token()] {
        return layer->readBackup(bytes, QString(), stop);
    }));
}

void ImportFlow::parsed(const TransferLayer &layer, const QByteArray &bytes, const ParseResult &batch)
{
    if (!batch && batch.error().kind() == TransferError::Kind::passwordRequired)
        openEncrypted(layer, bytes, batch.error().description());
    else
        offer(batch);
}

// Asks for the password until it opens the backup; the dialog stays responsive while the
// opener derives keys off the main thread.
void ImportFlow::openEncrypted(const TransferLayer &layer, const QByteArray &bytes, const QString &message)
{
    m_opener = std::make_unique<ImportOpener>(layer, m_keyProgram);
    PasswordDialog dialog(PasswordDialog::Mode::enter, message, m_messages.dialogParent());
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
        Q_EMIT finished();
        return;
    }
    offer(*opened);
}

void ImportFlow::offer(ParseResult batch)
{
    if (!batch)
        m_messages.fail(batch.error());
    else
        batch->setAsidePresent(m_store.exportTokens());
    if (!batch || ImportSummaryDialog(*batch, m_messages.dialogParent()).exec() != QDialog::Accepted) {
        Q_EMIT finished();
        return;
    }
    ImportRunner::start(m_store, batch->tokens, *this, m_messages.dialogParent(), [this](const ImportSummary &result) {
        report(result);
        Q_EMIT finished();
    });
}

void ImportFlow::report(const ImportSummary &result)
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
    m_messages.inform(lines.join(u'\n'));
}
