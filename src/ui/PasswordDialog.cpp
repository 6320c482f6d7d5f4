#include "ui/PasswordDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

PasswordDialog::PasswordDialog(Mode mode, const QString &message, QWidget *parent)
    : QDialog(parent),
      m_mode(mode),
      m_hint(new QLabel),
      m_progress(new QProgressBar),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel))
{
    setWindowTitle(mode == Mode::choose ? u"设置备份密码"_s : u"输入备份密码"_s);
    setMinimumWidth(340);
    m_buttons->button(QDialogButtonBox::Ok)->setText(u"确定"_s);
    m_buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(message);
    text->setWordWrap(true);
    layout->addWidget(text);
    m_field = addField(u"密码"_s);
    if (mode == Mode::choose)
        m_repeat = addField(u"再输入一次"_s);
    m_hint->setWordWrap(true);
    layout->addWidget(m_hint);
    // Without a range the bar moves to and fro: the check takes as long as the file asks.
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->hide();
    layout->addWidget(m_progress);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (m_mode == Mode::choose)
            accept();
        else
            Q_EMIT submitted();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateAcceptable();
}

QLineEdit *PasswordDialog::addField(const QString &placeholder)
{
    auto *field = new QLineEdit;
    field->setEchoMode(QLineEdit::Password);
    field->setPlaceholderText(placeholder);
    layout()->addWidget(field);
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
    showHint(busy ? u"正在验证密码…"_s : QString());
    updateAcceptable();
    if (!busy)
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
}

void PasswordDialog::updateAcceptable()
{
    const bool mismatch = m_repeat && !m_repeat->text().isEmpty() && m_repeat->text() != m_field->text();
    if (!m_isBusy)
        showHint(mismatch ? u"两次输入的密码不一致"_s : QString());
    const bool complete = !m_field->text().isEmpty() && (!m_repeat || m_repeat->text() == m_field->text());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(complete && !m_isBusy);
}
