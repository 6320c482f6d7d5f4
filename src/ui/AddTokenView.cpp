#include "ui/AddTokenView.h"

#include "engine/LabelText.h"
#include "store/TokenStore.h"
#include "ui/AccentButton.h"
#include "ui/CodeSettingsFields.h"
#include "ui/ImportRunner.h"
#include "ui/LinkIntake.h"
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

// Each refusal is a sentence of its own.
QString joinedRefusals(const QStringList &refused)
{
    QString joined = refused.value(0);
    for (const QString &line : refused.mid(1))
        joined = AddTokenView::tr("%1%2", "one refusal after another").arg(joined, line);
    return joined;
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
    m_intake = new LinkIntake({m_link, m_name, m_issuer, m_secret, m_codeSettings, m_batchList}, this);
    connect(m_intake, &LinkIntake::batchChanged, this, [this] {
        updatePrimaryButton();
        fitHeight();
    });
    connect(m_intake, &LinkIntake::refused, this, &AddTokenView::showError);
    connect(m_intake, &LinkIntake::refusalLifted, this, [this](const QString &reason) {
        if (m_errorMessage == reason)
            hideError();
    });
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

void AddTokenView::updatePrimaryButton()
{
    const std::optional<MigrationBatch> &batch = m_intake->batch();
    primaryButton()->setEnabled(!m_saving
                                && (batch ? !batch->accounts.tokens.isEmpty() : !m_secret->text().trimmed().isEmpty()));
}

void AddTokenView::setSaving(bool saving)
{
    m_saving = saving;
    updatePrimaryButton();
}

void AddTokenView::add()
{
    if (m_intake->batch()) {
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
    MigrationBatch batch = m_intake->takeBatch();
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
        refused << LinkIntake::refusalLine(refusal);
    for (const ImportSummary::Refusal &refusal : summary.refused)
        refused << LinkIntake::refusalLine({ImportBatch::label(refusal.name, refusal.issuer), refusal.reason});
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
