#include "ui/LinkIntake.h"

#include "engine/OTPAuthParser.h"
#include "transfer/TransferLoader.h"
#include "ui/CodeSettingsFields.h"

#include <QLabel>
#include <QLineEdit>

namespace {

// The first accounts of a large export, so that the sheet stays on the screen.
QString batchText(const MigrationBatch &batch)
{
    constexpr qsizetype shownLines = 10;
    const ImportBatch &accounts = batch.accounts;
    const qsizetype total = accounts.tokens.size() + accounts.refused.size();
    QString text = LinkIntake::tr("迁移链接中有 %n 个账户", nullptr, int(total));
    if (batch.count > 1)
        text += LinkIntake::tr("（第 %1/%2 张二维码）").arg(batch.index + 1).arg(batch.count);
    text += LinkIntake::tr("：");
    QStringList lines;
    for (const ImportedToken &token : accounts.tokens.first(std::min(shownLines, accounts.tokens.size()))) {
        const QString line =
            token.otp.isHotp() ? LinkIntake::tr("· %1　%2 位 · 计数器 %3") : LinkIntake::tr("· %1　%2 位 · %3 秒");
        lines << line.arg(ImportBatch::label(token.name, token.issuer))
                     .arg(token.otp.digits)
                     .arg(token.otp.isHotp() ? token.otp.counter : quint64(token.otp.period));
    }
    for (const ImportBatch::Refusal &refusal : accounts.refused)
        lines << LinkIntake::tr("· %1不会添加。").arg(LinkIntake::refusalLine(refusal));
    if (total > shownLines)
        lines = lines.first(shownLines) << LinkIntake::tr("· ……另有 %n 个", nullptr, int(total - shownLines));
    return text + u'\n' + lines.join(u'\n');
}

} // namespace

QString LinkIntake::refusalLine(const ImportBatch::Refusal &refusal)
{
    return tr("%1：%2").arg(refusal.label, refusal.reason);
}

LinkIntake::LinkIntake(const Fields &fields, QObject *parent) : QObject(parent), m_fields(fields)
{
    connect(m_fields.link, &QLineEdit::textChanged, this, &LinkIntake::read);
}

void LinkIntake::read(const QString &text)
{
    if (MigrationBatch::looksLikeLink(text)) {
        const auto layer = TransferLoader::layer();
        const auto batch = layer ? (*layer)->readMigrationLink(text) : std::unexpected(layer.error());
        if (!batch)
            Q_EMIT refused(batch.error().description());
        showBatch(batch ? std::optional(*batch) : std::nullopt);
        return;
    }
    showBatch(std::nullopt);
    const auto token = OTPAuthParser::parse(text);
    const QString reason = token ? QString() : token.error().description();
    if (!reason.isEmpty())
        Q_EMIT refused(reason);
    else
        Q_EMIT refusalLifted(m_linkRefusal);
    m_linkRefusal = reason;
    if (!token)
        return;
    m_fields.name->setText(token->name);
    m_fields.issuer->setText(token->issuer);
    m_fields.secret->setText(token->secret);
    m_fields.codeSettings->takeFrom(*token);
}

void LinkIntake::showBatch(std::optional<MigrationBatch> batch)
{
    m_batch = std::move(batch);
    m_fields.batchList->setText(m_batch ? batchText(*m_batch) : QString());
    m_fields.batchList->setVisible(m_batch.has_value());
    Q_EMIT batchChanged();
}
