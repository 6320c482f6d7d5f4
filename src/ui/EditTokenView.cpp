#include "ui/EditTokenView.h"

#include "store/TokenStore.h"
#include "ui/AccentButton.h"
#include "ui/SheetFields.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

EditTokenView::EditTokenView(TokenStore &store, TokenAccount account, QWidget *parent)
    : SheetDialog(sheetWidth, Glyph::Pencil, tr("重命名验证码"),
                  account.otp.isHotp() ? tr("不会修改密钥；更改计数器会改变验证码") : tr("不会修改密钥或验证码内容"),
                  tr("保存"), parent),
      m_store(store),
      m_account(std::move(account))
{
    auto *fields = new SheetFields;
    m_name = fields->addNameRow();
    m_issuer = fields->addIssuerRow();
    m_name->setText(m_account.name);
    m_issuer->setText(m_account.issuer);
    if (m_account.otp.isHotp()) {
        m_counter = fields->addCounterRow();
        m_counter->setText(QString::number(m_account.otp.counter));
    }
    addSection(fields);
    m_errorLine = addCaption(CaptionStyle::Error);
    m_errorLine->hide();
    m_name->setFocus();

    connect(primaryButton(), &QPushButton::clicked, this, &EditTokenView::save);
    fitHeight();
}

// The store trims the texts and names a blank account; an account deleted meanwhile is
// left alone there, and the sheet closes all the same. A rename the list cannot keep stays
// on the sheet with the reason.
void EditTokenView::save()
{
    const std::optional<quint64> counter = m_counter ? SheetFields::counterIn(*m_counter) : std::nullopt;
    if (m_counter && !counter)
        return showError(SheetFields::counterError());
    if (const auto saved = m_store.update(m_account, m_name->text(), m_issuer->text(), counter); !saved)
        return showError(tr("%1。名称没有修改。").arg(saved.error().description()));
    accept();
}

void EditTokenView::showError(const QString &text)
{
    m_errorLine->setText(text);
    m_errorLine->show();
    fitHeight();
}
