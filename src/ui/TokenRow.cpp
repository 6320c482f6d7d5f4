#include "ui/TokenRow.h"

#include "ui/CodeText.h"
#include "ui/DeleteButton.h"
#include "ui/Palette.h"
#include "ui/PanelMetrics.h"
#include "ui/RowDrag.h"
#include "ui/TokenProgressView.h"
#include "ui/TokenRowMenu.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QPainter>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

TokenRow::TokenRow(Clock clock, QWidget *parent)
    : QWidget(parent),
      m_delete(new DeleteButton(this)),
      m_progress(new TokenProgressView(std::move(clock), this)),
      m_nextCode(new QToolButton(this)),
      m_geometry(RowGeometry::of(width(), std::nullopt)),
      m_code([this] { update(codeArea()); }),
      m_mark([this] { update(m_geometry.copyMarkArea); })
{
    m_nextCode->setText(tr("下一个验证码"));
    m_nextCode->setAutoRaise(true);
    m_nextCode->setCursor(Qt::PointingHandCursor);
    colorNextCode();
    m_nextCode->setFocusPolicy(Qt::NoFocus); // the list's keys reach it as Return
    m_nextCode->hide();
    // Like every copy action of the row, it asks for the next code.
    connect(m_nextCode, &QToolButton::clicked, this, [this] { request(RowAction::Copy); });
    setFixedHeight(PanelMetrics::tokenRowHeight);
    setToolTip(tr("点击复制；前 3 项也可使用 Ctrl+1～Ctrl+3"));
    connect(m_delete, &QAbstractButton::clicked, this, [this] { request(RowAction::Delete); });

    auto *drag = new RowDrag(*this, [this] { return m_account.idText(); });
    connect(drag, &RowDrag::clicked, this, [this](const QPoint &pos) {
        if (copyArea().contains(pos))
            request(RowAction::Copy);
    });
    connect(drag, &RowDrag::dropped, this, [this](const QUuid &dragged) { request(RowAction::DropOnto, dragged); });
}

// A copy: the action may lay the rows out again, and this row may then show another account.
void TokenRow::request(RowAction action, const QUuid &dropped)
{
    const TokenAccount account = m_account;
    Q_EMIT actionRequested(action, account, dropped);
}

void TokenRow::setAccount(const TokenAccount &account, bool first, bool last)
{
    if (account == m_account && first == m_first && last == m_last)
        return;
    if (account.id != m_account.id)
        m_code.reset();
    m_account = account;
    m_first = first;
    m_last = last;
    m_progress->configure(account.otp.period, Palette::accentColor(isDark()), m_reduceMotion);
    m_progress->setVisible(!account.otp.isHotp());
    m_nextCode->setVisible(account.otp.isHotp());
    place();
    m_delete->setAccessibleName(tr("删除 %1").arg(account.name));
    updateAccessibleText();
    update();
}

void TokenRow::setCode(const std::optional<QString> &code)
{
    if (!m_code.setText(code.value_or(CodeText::placeholder), !m_reduceMotion && isVisible() && showsCode()))
        return;
    updateAccessibleText();
    update(codeArea());
}

void TokenRow::setCopied(bool copied)
{
    if (m_mark.setCopied(copied, !m_reduceMotion && isVisible()))
        update(m_geometry.copyMarkArea);
}

void TokenRow::setReduceMotion(bool reduceMotion)
{
    m_reduceMotion = reduceMotion;
    m_progress->configure(m_account.otp.period, Palette::accentColor(isDark()), reduceMotion);
}

void TokenRow::setFocusRing(bool shown)
{
    if (shown == m_focusRing)
        return;
    m_focusRing = shown;
    updateAccessibleText();
    update();
}

void TokenRow::setCodeHidden(bool hidden)
{
    if (hidden == m_codeHidden)
        return;
    m_codeHidden = hidden;
    updateAccessibleText();
    update(codeArea());
}

void TokenRow::syncHover()
{
    const bool hovered = isVisible() && rect().contains(mapFromGlobal(QCursor::pos()));
    if (hovered != m_hovered)
        setHovered(hovered);
}

void TokenRow::updateAccessibleText()
{
    if (showsCode())
        setAccessibleName(tr("%1 验证码 %2，点击复制").arg(m_account.name, codeText()));
    else
        setAccessibleName(tr("%1 验证码已隐藏，点击复制").arg(m_account.name));
}

bool TokenRow::isDark() const
{
    return Palette::isDark(palette());
}

// The countdown bar and the next-code button take the scheme's accent as the desktop switches.
void TokenRow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        m_progress->setColor(Palette::accentColor(isDark()));
        colorNextCode();
    }
}

// An action, not a code: flat, in the scheme's accent.
void TokenRow::colorNextCode()
{
    m_nextCode->setStyleSheet(u"QToolButton { color: %1; border: none; }"_s.arg(Palette::accentColor(isDark()).name()));
}

void TokenRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void TokenRow::place()
{
    const bool nextCode = m_nextCode->isVisibleTo(this);
    m_geometry = RowGeometry::of(width(), nextCode ? std::optional(m_nextCode->sizeHint()) : std::nullopt);
    m_delete->move(m_geometry.deleteButton);
    m_progress->setGeometry(m_geometry.progress);
    if (nextCode)
        m_nextCode->setGeometry(m_geometry.nextCode);
    m_code.resized();
}

// Paints only the parts the event asks for: a rolling code or a growing mark repaints
// itself alone.
void TokenRow::paintEvent(QPaintEvent *event)
{
    const QRect dirty = event->rect();
    const bool dark = isDark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = Palette::primary(dark);
    if (m_hovered)
        painter.fillRect(rect(), Palette::faded(primary, 0.025f));
    if (!m_first)
        painter.fillRect(m_geometry.separator, Palette::faded(primary, 0.055f));
    const QRectF title = m_geometry.title;
    if (dirty.intersects(title.toAlignedRect())) {
        painter.setFont(m_geometry.titleFont);
        painter.setPen(Palette::secondary(dark));
        painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(m_geometry.titleFont)
                             .elidedText(CodeText::titleLine(m_account), Qt::ElideRight, title.width()));
    }
    if (dirty.intersects(codeArea()))
        m_code.paint(painter, m_geometry.code, primary, devicePixelRatioF(), !showsCode(), m_account.otp.isSteam());
    if (dirty.intersects(m_geometry.copyMarkArea))
        m_mark.paint(painter, m_geometry.copyMark, dark, m_reduceMotion);
    if (m_focusRing) {
        painter.setPen(Palette::focusRingPen(dark));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(m_geometry.focusRing, 10, 10);
    }
}

void TokenRow::setHovered(bool hovered)
{
    m_hovered = hovered;
    m_delete->setRowHovered(hovered);
    updateAccessibleText();
    update();
}

void TokenRow::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QWidget::enterEvent(event);
}

void TokenRow::leaveEvent(QEvent *event)
{
    setHovered(false);
    QWidget::leaveEvent(event);
}

void TokenRow::contextMenuEvent(QContextMenuEvent *event)
{
    showContextMenu(event->globalPos());
}

QMenu *TokenRow::showContextMenu(const QPoint &globalPos)
{
    const auto typingNote = m_typingNote ? std::optional(m_typingNote()) : std::nullopt;
    auto *menu = new TokenRowMenu(m_first, m_last, typingNote, this);
    // The row may show another account by the time an item is chosen.
    connect(menu, &TokenRowMenu::chosen, this,
            [this, account = m_account](RowAction action) { Q_EMIT actionRequested(action, account); });
    menu->popup(globalPos);
    return menu;
}
