#include "ui/QuickEntryView.h"

#include "ui/AccentButton.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int sidePadding = 11;
constexpr int boxHeight = 34;

} // namespace

QuickEntryView::QuickEntryView(QWidget *parent)
    : QWidget(parent),
      m_field(new QLineEdit),
      m_paste(new AccentButton(tr("粘贴生成"), Glyph::DocOnClipboard)),
      m_error(new QLabel)
{
    m_field->setEchoMode(QLineEdit::Password);
    m_field->setPlaceholderText(tr("粘贴 Base32 密钥"));
    m_field->setFrame(false);
    m_field->setFont(panelFont(13, QFont::Medium));
    m_field->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_field->setStyleSheet(u"QLineEdit { background: transparent; }"_s);
    m_field->setAccessibleName(tr("Base32 密钥"));
    m_field->installEventFilter(this); // the box shows the field's focus

    auto *box = new QHBoxLayout;
    box->setContentsMargins(sidePadding, 0, sidePadding - 6, 0);
    box->setSpacing(8);
    box->addWidget(m_field, 1);
    box->addWidget(m_paste);

    m_error->setFont(panelFont(10));
    m_error->setStyleSheet(u"color: rgb(255, 149, 0); padding: 0 3px;"_s);
    m_error->setWordWrap(true);
    m_error->hide();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(sidePadding, 9, sidePadding, 0);
    column->setSpacing(6);
    auto *boxWidget = new QWidget;
    boxWidget->setFixedHeight(boxHeight);
    boxWidget->setLayout(box);
    column->addWidget(boxWidget);
    column->addWidget(m_error);
    column->addStretch();

    connect(m_field, &QLineEdit::returnPressed, this, [this] { Q_EMIT submitted(m_field->text()); });
    connect(m_field, &QLineEdit::textChanged, this, &QuickEntryView::textEdited);
    connect(m_paste, &QAbstractButton::clicked, this, &QuickEntryView::pasteRequested);
}

QString QuickEntryView::text() const
{
    return m_field->text();
}

void QuickEntryView::setText(const QString &text)
{
    m_field->setText(text);
}

void QuickEntryView::setError(const std::optional<QString> &error)
{
    m_error->setText(error.value_or(QString()));
    m_error->setVisible(error.has_value());
}

QRectF QuickEntryView::fieldBox() const
{
    return QRectF(sidePadding, 9, width() - 2 * sidePadding, boxHeight).adjusted(0.5, 0.5, -0.5, -0.5);
}

void QuickEntryView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = Palette::isDark(palette());
    const QColor primary = Palette::primary(dark);
    painter.setBrush(Palette::faded(primary, 0.04f));
    painter.setPen(m_field->hasFocus() ? Palette::focusRingPen(dark) : QPen(Palette::faded(primary, 0.07f), 1));
    painter.drawRoundedRect(fieldBox(), 9, 9);
}

bool QuickEntryView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update();
    return QWidget::eventFilter(watched, event);
}
