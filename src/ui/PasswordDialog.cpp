#include "ui/PasswordDialog.h"

#include "ui/AccentButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int dialogWidth = 360;

} // namespace

PasswordDialog::PasswordDialog(Mode mode, const QString &message, QWidget *parent)
    : SheetDialog(dialogWidth, Glyph::DocOnDoc, mode == Mode::choose ? tr("设置备份密码") : tr("输入备份密码"),
                  mode == Mode::choose ? tr("备份包含全部密钥") : tr("打开加密的备份"), tr("确定"), parent),
      m_mode(mode),
      m_progress(new QProgressBar)
{
    addCaption(CaptionStyle::Secondary, message);
    m_field = addField(tr("密码"));
    if (mode == Mode::choose)
        m_repeat = addField(tr("再输入一次"));
    m_hint = addCaption(CaptionStyle::Error);
    // Without a range the bar moves to and fro: the check takes as long as the file asks.
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->hide();
    addSection(m_progress);
    m_field->setFocus();
    connect(primaryButton(), &QPushButton::clicked, this, [this] {
        if (m_mode == Mode::choose)
            accept();
        else
            Q_EMIT submitted();
    });
    updateAcceptable();
}

QLineEdit *PasswordDialog::addField(const QString &placeholder)
{
    auto *field = new QLineEdit;
    field->setEchoMode(QLineEdit::Password);
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    addSection(field);
    connect(field, &QLineEdit::textChanged, this, &PasswordDialog::updateAcceptable);
    return field;
}

QString PasswordDialog::password() const
{
    return m_field->text();
}

void PasswordDialog::setBusy(bool busy)
{
    m_isBusy = busy;
    m_field->setEnabled(!busy);
    m_progress->setVisible(busy);
    updateAcceptable();
    if (busy)
        showHint(tr("正在验证密码…"));
    else
        m_field->setFocus();
}

void PasswordDialog::refuse(const QString &reason)
{
    setBusy(false);
    m_field->selectAll();
    showHint(reason);
}

void PasswordDialog::showHint(const QString &text)
{
    m_hint->setText(text);
    m_hint->setVisible(!text.isEmpty());
    if (isVisible())
        fitHeight();
}

// A new backup's password says what it lacks once the person has typed something.
void PasswordDialog::updateAcceptable()
{
    const QString text = m_field->text();
    const bool tooShort = m_repeat && !text.isEmpty() && text.size() < minimumLength;
    const bool mismatch = m_repeat && !m_repeat->text().isEmpty() && m_repeat->text() != text;
    showHint(tooShort   ? tr("密码至少要有 %n 个字符，越长越难猜。", nullptr, minimumLength)
             : mismatch ? tr("两次输入的密码不一致。")
                        : QString());
    primaryButton()->setEnabled(!m_isBusy && !text.isEmpty() && !tooShort && (!m_repeat || m_repeat->text() == text));
}
