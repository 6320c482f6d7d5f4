#include "ui/BackupSetupSheet.h"

#include "backup/BackupPolicy.h"
#include "ui/AccentButton.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

namespace {

constexpr int sheetWidth = 360;
constexpr int maximumKeep = 999;

QLineEdit *newPasswordField(const QString &placeholder)
{
    auto *field = new QLineEdit;
    field->setEchoMode(QLineEdit::Password);
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    return field;
}

} // namespace

BackupSetupSheet::BackupSetupSheet(const State &state, QWidget *parent)
    : SheetDialog(sheetWidth, Glyph::DocOnDoc, tr("自动备份"), tr("每次更改后，加密备份到所选文件夹"),
                  state.on ? tr("保存") : tr("开启"), parent),
      m_on(state.on),
      m_folder(new QLineEdit(state.folder)),
      m_password(newPasswordField(state.on ? tr("新密码（不改可留空）") : tr("备份密码"))),
      m_repeat(newPasswordField(tr("再输入一次"))),
      m_keep(new QSpinBox)
{
    addCaption(CaptionStyle::Secondary, stateText(state));
    auto *folderRow = new QWidget;
    auto *folderLayout = new QHBoxLayout(folderRow);
    folderLayout->setContentsMargins(0, 0, 0, 0);
    m_folder->setReadOnly(true);
    m_folder->setPlaceholderText(tr("尚未选择文件夹"));
    m_folder->setAccessibleName(tr("备份文件夹"));
    auto *choose = new QPushButton(tr("选择…"));
    folderLayout->addWidget(m_folder, 1);
    folderLayout->addWidget(choose);
    addSection(folderRow);
    addSection(m_password);
    addSection(m_repeat);
    m_hint = addCaption(CaptionStyle::Error);
    m_failure = addCaption(CaptionStyle::Error);
    m_failure->hide();
    auto *keepRow = new QWidget;
    auto *keepLayout = new QHBoxLayout(keepRow);
    keepLayout->setContentsMargins(0, 0, 0, 0);
    m_keep->setRange(BackupPolicy::minimumKeep, maximumKeep);
    m_keep->setValue(BackupPolicy::keepWithin(state.keep));
    m_keep->setAccessibleName(tr("保留份数"));
    keepLayout->addWidget(new QLabel(tr("保留最近的备份：")));
    keepLayout->addWidget(m_keep);
    keepLayout->addStretch();
    addSection(keepRow);
    if (state.on) {
        m_turnOff = new QPushButton(tr("关闭自动备份"));
        addSection(m_turnOff);
        connect(m_turnOff, &QPushButton::clicked, this, [this] {
            Q_EMIT turnOffRequested();
            accept();
        });
    }
    connect(choose, &QPushButton::clicked, this, &BackupSetupSheet::chooseFolder);
    connect(m_password, &QLineEdit::textChanged, this, &BackupSetupSheet::updateAcceptable);
    connect(m_repeat, &QLineEdit::textChanged, this, &BackupSetupSheet::updateAcceptable);
    connect(primaryButton(), &QPushButton::clicked, this, [this] {
        m_working = true;
        m_failure->hide();
        updateAcceptable();
        Q_EMIT setUpRequested(m_folder->text(), m_password->text(), m_keep->value());
    });
    choose->setFocus();
    updateAcceptable();
}

QString BackupSetupSheet::stateText(const State &state)
{
    if (!state.on)
        return tr("自动备份尚未开启。");
    const QString last = state.lastBackup ? QLocale().toString(*state.lastBackup, QLocale::ShortFormat) : tr("尚无");
    const QString health = state.problem.isEmpty() ? tr("正常") : state.problem;
    return tr("上次备份：%1 · %2").arg(last, health);
}

void BackupSetupSheet::setUpFinished(const std::expected<void, QString> &outcome)
{
    m_working = false;
    if (outcome)
        return accept();
    m_failure->setText(outcome.error());
    m_failure->show();
    updateAcceptable();
}

void BackupSetupSheet::chooseFolder()
{
    // The desktop's own chooser (the portal's in a Wayland session), opened without a nested loop.
    auto *dialog = new QFileDialog(this, tr("选择备份文件夹"), m_folder->text());
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &folder) {
        m_folder->setText(folder);
        updateAcceptable();
    });
    dialog->open();
}

// A new password, needed to turn backups on, is long enough and typed twice.
void BackupSetupSheet::updateAcceptable()
{
    const QString text = m_password->text();
    const bool tooShort = !text.isEmpty() && text.size() < BackupPolicy::minimumPasswordLength;
    const bool mismatch = !m_repeat->text().isEmpty() && m_repeat->text() != text;
    m_hint->setText(tooShort ? tr("密码至少要有 %n 个字符，越长越难猜。", nullptr, BackupPolicy::minimumPasswordLength)
                    : mismatch ? tr("两次输入的密码不一致。")
                               : QString());
    m_hint->setVisible(!m_hint->text().isEmpty());
    const bool passwordGiven = !text.isEmpty() && !tooShort && m_repeat->text() == text;
    primaryButton()->setEnabled(!m_working && !m_folder->text().isEmpty()
                                && (passwordGiven || (m_on && text.isEmpty())));
    if (isVisible())
        fitHeight();
}
