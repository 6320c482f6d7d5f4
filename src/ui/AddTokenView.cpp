#include "ui/AddTokenView.h"

#include "engine/LabelText.h"
#include "engine/OTPAuthParser.h"
#include "store/TokenStore.h"
#include "transfer/TransferLoader.h"
#include "ui/AccentButton.h"
#include "ui/CodeSettingsFields.h"
#include "ui/ImportRunner.h"
#include "ui/QrScanner.h"
#include "ui/SheetFields.h"
#include "ui/UnlockThenAdd.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

using namespace Qt::Literals::StringLiterals;

namespace {

QString cleanField(const QLineEdit *field)
{
    return LabelText::cleaned(field->text()).trimmed();
}

QString refusalLine(const ImportBatch::Refusal &refusal)
{
    return AddTokenView::tr("%1：%2").arg(refusal.label, refusal.reason);
}

// Each refusal is a sentence of its own.
QString joinedRefusals(const QStringList &refused)
{
    QString joined = refused.value(0);
    for (const QString &line : refused.mid(1))
        joined = AddTokenView::tr("%1%2", "one refusal after another").arg(joined, line);
    return joined;
}

// The first accounts of a large export, so that the sheet stays on the screen.
QString batchText(const MigrationBatch &batch)
{
    constexpr qsizetype shownLines = 10;
    const ImportBatch &accounts = batch.accounts;
    const qsizetype total = accounts.tokens.size() + accounts.refused.size();
    QString text = AddTokenView::tr("迁移链接中有 %n 个账户", nullptr, int(total));
    if (batch.count > 1)
        text += AddTokenView::tr("（第 %1/%2 张二维码）").arg(batch.index + 1).arg(batch.count);
    text += AddTokenView::tr("：");
    QStringList lines;
    for (const ImportedToken &token : accounts.tokens.first(std::min(shownLines, accounts.tokens.size()))) {
        const QString line =
            token.otp.isHotp() ? AddTokenView::tr("· %1　%2 位 · 计数器 %3") : AddTokenView::tr("· %1　%2 位 · %3 秒");
        lines << line.arg(ImportBatch::label(token.name, token.issuer))
                     .arg(token.otp.digits)
                     .arg(token.otp.isHotp() ? token.otp.counter : quint64(token.otp.period));
    }
    for (const ImportBatch::Refusal &refusal : accounts.refused)
        lines << AddTokenView::tr("· %1不会添加。").arg(refusalLine(refusal));
    if (total > shownLines)
        lines = lines.first(shownLines) << AddTokenView::tr("· ……另有 %n 个", nullptr, int(total - shownLines));
    return text + u'\n' + lines.join(u'\n');
}

} // namespace

AddTokenView::AddTokenView(TokenStore &store, QWidget *parent)
    : SheetDialog(sheetWidth, Glyph::Plus, tr("添加验证码"), tr("密钥仅保存在这台电脑的钥匙串中"), tr("添加"), parent),
      m_store(store),
      m_link(new QLineEdit),
      m_imageButton(new QPushButton(tr("从图片读取二维码…"))),
      m_screenButton(new QPushButton(tr("扫描屏幕二维码"))),
      m_reveal(new QCheckBox(tr("显示链接和密钥"))),
      m_codeSettings(new CodeSettingsFields),
      m_unlock(new UnlockThenAdd(store, this))
{
    m_link->setPlaceholderText(tr("粘贴 otpauth:// 链接"));
    m_link->setAccessibleName(tr("otpauth 链接"));
    m_link->setEchoMode(QLineEdit::Password); // a link holds the secret too
    m_link->setMaxLength(int(MigrationBatch::maxLinkLength)); // a large phone export, as a file would bring it
    addSection(m_link);
    auto *scanRow = new QWidget;
    auto *scanLayout = new QHBoxLayout(scanRow);
    scanLayout->setContentsMargins(0, 0, 0, 0);
    for (QPushButton *button : {m_imageButton, m_screenButton}) {
        button->setAutoDefault(false);
        scanLayout->addWidget(button);
    }
    scanLayout->addStretch();
    addSection(scanRow);
    m_batchList = addCaption(CaptionStyle::Secondary);
    m_batchList->hide();
    addCaption(CaptionStyle::Secondary, tr("或手动填写"));

    auto *fields = new SheetFields;
    m_name = fields->addNameRow();
    m_issuer = fields->addIssuerRow();
    m_secret = fields->addRow(tr("密钥"), tr("Base32 密钥"));
    m_secret->setEchoMode(QLineEdit::Password);
    addSection(fields);
    addSection(m_reveal);
    m_settingsLine = addCaption(CaptionStyle::Secondary, m_codeSettings->summary());
    addSection(m_codeSettings);

    m_errorLine = addCaption(CaptionStyle::Error);
    m_errorLine->hide();
    m_notice = addCaption(CaptionStyle::Secondary);
    m_notice->hide();

    m_link->setFocus();
    primaryButton()->setEnabled(false);
    connect(m_link, &QLineEdit::textChanged, this, &AddTokenView::fillFromLink);
    connect(m_secret, &QLineEdit::textChanged, this, &AddTokenView::updatePrimaryButton);
    connect(m_reveal, &QCheckBox::toggled, this, [this](bool shown) {
        for (QLineEdit *field : {m_link, m_secret})
            field->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });
    connect(m_imageButton, &QPushButton::clicked, this, &AddTokenView::chooseImageFile);
    connect(m_screenButton, &QPushButton::clicked, this, [this] {
        QrScanner::scanScreens(this, [this](const std::expected<QString, TransferError> &link) { showScanned(link); });
    });
    connect(primaryButton(), &QPushButton::clicked, this, [this] { m_unlockFirst ? m_unlock->unlockAndAdd() : add(); });
    connect(m_unlock, &UnlockThenAdd::addRequested, this, &AddTokenView::add);
    connect(m_codeSettings, &CodeSettingsFields::changed, this,
            [this] { m_settingsLine->setText(m_codeSettings->summary()); });
    connect(m_codeSettings, &CodeSettingsFields::expandedChanged, this, &AddTokenView::fitHeight);
    fitHeight();
}

void AddTokenView::showScanned(const std::expected<QString, TransferError> &link)
{
    if (!link) {
        showError(link.error().description());
        return;
    }
    m_link->setText(*link);
    primaryButton()->setFocus();
}

void AddTokenView::scanFile(const QString &path)
{
    showScanned(QrScanner::scanFile(path));
}

void AddTokenView::chooseImageFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("从图片读取二维码"), QString(),
                                                      tr("图片 (*.png *.jpg *.jpeg *.bmp *.gif *.webp)"));
    if (!path.isEmpty())
        scanFile(path);
}

void AddTokenView::fillFromLink(const QString &text)
{
    if (MigrationBatch::looksLikeLink(text)) {
        const auto layer = TransferLoader::layer();
        const auto batch = layer ? (*layer)->readMigrationLink(text) : std::unexpected(layer.error());
        if (!batch)
            showError(batch.error().description());
        showBatch(batch ? std::optional(*batch) : std::nullopt);
        return;
    }
    showBatch(std::nullopt);
    const auto token = OTPAuthParser::parse(text);
    // Typing or pasting something that is no link at all stays quiet; a link's refusal
    // lasts only while the link field holds that link, as a link is typed letter by letter.
    const QString reason = token ? QString() : token.error().description();
    if (!reason.isEmpty())
        showError(reason);
    else if (m_errorMessage && m_errorMessage == m_linkRefusal)
        hideError();
    m_linkRefusal = reason;
    if (!token)
        return;
    m_name->setText(token->name);
    m_issuer->setText(token->issuer);
    m_secret->setText(token->secret);
    m_codeSettings->takeFrom(*token);
}

void AddTokenView::showBatch(std::optional<MigrationBatch> batch)
{
    m_batch = std::move(batch);
    m_batchList->setText(m_batch ? batchText(*m_batch) : QString());
    m_batchList->setVisible(m_batch.has_value());
    updatePrimaryButton();
    fitHeight();
}

void AddTokenView::updatePrimaryButton()
{
    primaryButton()->setEnabled(
        !m_saving && (m_batch ? !m_batch->accounts.tokens.isEmpty() : !m_secret->text().trimmed().isEmpty()));
}

void AddTokenView::setSaving(bool saving)
{
    m_saving = saving;
    updatePrimaryButton();
}

void AddTokenView::add()
{
    if (m_batch) {
        addBatch();
        return;
    }
    ImportedToken token{cleanField(m_name), cleanField(m_issuer), m_secret->text().trimmed()};
    m_codeSettings->applyTo(token);
    setSaving(true);
    m_store.add(token, [view = QPointer(this)](const std::expected<TokenAccount, StoreError> &added) {
        if (!view)
            return;
        view->setSaving(false);
        if (added)
            view->accept();
        else
            view->showError(added.error().description());
        view->offerUnlock(!added && added.error().isKeychainLocked());
    });
}

void AddTokenView::addBatch()
{
    MigrationBatch batch = *std::exchange(m_batch, std::nullopt);
    setSaving(true);
    ImportRunner::start(m_store, batch.accounts.tokens, *this, this,
                        [this, batch](const ImportSummary &summary) { batchAdded(batch, summary); });
}

// Anything left out is said, and the sheet stays open for the next code of a split export.
void AddTokenView::batchAdded(const MigrationBatch &batch, const ImportSummary &summary)
{
    setSaving(false);
    QStringList refused;
    for (const ImportBatch::Refusal &refusal : batch.accounts.refused)
        refused << refusalLine(refusal);
    for (const ImportSummary::Refusal &refusal : summary.refused)
        refused << refusalLine({ImportBatch::label(refusal.name, refusal.issuer), refusal.reason});
    if (refused.isEmpty() && summary.alreadyPresent == 0 && summary.notTried == 0 && batch.index + 1 >= batch.count) {
        accept();
        return;
    }
    reportBatch(batch, summary, refused);
}

void AddTokenView::reportBatch(const MigrationBatch &batch, const ImportSummary &summary, const QStringList &refused)
{
    QString notice = tr("已添加 %n 个账户", nullptr, summary.added.size());
    if (summary.alreadyPresent > 0)
        notice += tr("，%n 个已存在，已跳过", nullptr, summary.alreadyPresent);
    if (!refused.isEmpty())
        notice += tr("，%n 个未添加", nullptr, refused.size());
    if (summary.notTried > 0)
        notice += tr("，已停止，其余 %n 个没有添加", nullptr, summary.notTried);
    notice += tr("。");
    if (batch.index + 1 < batch.count)
        notice += tr("这是第 %1/%2 张二维码，请继续读取下一张。").arg(batch.index + 1).arg(batch.count);
    m_notice->setText(notice);
    m_notice->show();
    if (!refused.isEmpty())
        showError(tr("未添加：%1").arg(joinedRefusals(refused)));
    m_link->clear();
    fitHeight();
}

// What the person entered stays; "解锁并添加" opens the keyring and adds it.
void AddTokenView::offerUnlock(bool offer)
{
    m_unlockFirst = offer;
    primaryButton()->setText(offer ? UnlockThenAdd::actionText() : tr("添加"));
}

void AddTokenView::hideError()
{
    m_errorMessage.reset();
    m_errorLine->hide();
    fitHeight();
}

void AddTokenView::showError(const QString &message)
{
    m_errorMessage = message;
    m_errorLine->setText(message);
    m_errorLine->show();
    fitHeight();
}
