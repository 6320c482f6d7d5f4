#include "ui/AddTokenView.h"

#include "engine/OTPAuthParser.h"
#include "store/TokenStore.h"
#include "ui/AccentButton.h"
#include "ui/SheetFields.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

namespace {

// Accounts added here always use the common parameters, whatever a pasted link said.
constexpr qint64 fixedPeriod = 30;
constexpr qint64 fixedDigits = 6;

} // namespace

AddTokenView::AddTokenView(TokenStore &store, QWidget *parent)
    : SheetDialog(sheetWidth, Glyph::Plus, u"添加验证码"_s, u"密钥仅保存在这台电脑的钥匙串中"_s, u"添加"_s, parent),
      m_store(store),
      m_link(new QLineEdit)
{
    m_link->setPlaceholderText(u"粘贴 otpauth:// 链接"_s);
    m_link->setAccessibleName(u"otpauth 链接"_s);
    addSection(m_link);
    addCaption(CaptionStyle::Secondary, u"或手动填写"_s);

    auto *fields = new SheetFields;
    m_name = fields->addNameRow();
    m_issuer = fields->addIssuerRow();
    m_secret = fields->addRow(u"密钥"_s, u"Base32 密钥"_s);
    m_secret->setEchoMode(QLineEdit::Password);
    addSection(fields);

    m_errorLine = addCaption(CaptionStyle::Error);
    m_errorLine->hide();

    m_link->setFocus();
    primaryButton()->setEnabled(false);
    connect(m_link, &QLineEdit::textChanged, this, &AddTokenView::fillFromLink);
    connect(m_secret, &QLineEdit::textChanged, this,
            [this](const QString &secret) { primaryButton()->setEnabled(!secret.trimmed().isEmpty()); });
    connect(primaryButton(), &QPushButton::clicked, this, &AddTokenView::add);
    fitHeight();
}

void AddTokenView::fillFromLink(const QString &text)
{
    const std::optional<ImportedToken> token = OTPAuthParser::parse(text);
    if (!token)
        return;
    m_name->setText(token->name);
    m_issuer->setText(token->issuer);
    m_secret->setText(token->secret);
}

void AddTokenView::add()
{
    const ImportedToken token{m_name->text().trimmed(), m_issuer->text().trimmed(), m_secret->text().trimmed(),
                              fixedPeriod, fixedDigits};
    const auto added = m_store.add(token);
    if (!added) {
        showError(added.error().description());
        return;
    }
    accept();
}

void AddTokenView::showError(const QString &message)
{
    m_errorMessage = message;
    m_errorLine->setText(message);
    m_errorLine->show();
    fitHeight();
}
