#include "ui/TokenRow.h"

#include "ui/DeleteButton.h"
#include "ui/Glyphs.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"
#include "ui/PanelMetrics.h"
#include "ui/TokenProgressView.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int leftPadding = 13;
constexpr int rightPadding = 10;
constexpr int spacing = 7;
constexpr int mainLineHeight = PanelMetrics::tokenRowHeight - 10;
constexpr int markSize = 26;
constexpr qreal rollDistance = 10;

} // namespace

TokenRow::TokenRow(Clock clock, QWidget *parent)
    : QWidget(parent),
      m_delete(new DeleteButton(this)),
      m_progress(new TokenProgressView(std::move(clock), this)),
      m_nextCode(new QToolButton(this))
{
    m_nextCode->setText(tr("下一个验证码"));
    m_nextCode->setAutoRaise(true);
    m_nextCode->setCursor(Qt::PointingHandCursor);
    colorNextCode();
    m_nextCode->setFocusPolicy(Qt::NoFocus); // the list's keys reach it as Return
    m_nextCode->hide();
    // Like every copy action of the row, it asks for the next code.
    connect(m_nextCode, &QToolButton::clicked, this, [this] { Q_EMIT copyRequested(m_codeText, m_account); });
    setFixedHeight(PanelMetrics::tokenRowHeight);
    setAcceptDrops(true);
    setToolTip(tr("点击复制；前 3 项也可使用 Ctrl+1～Ctrl+3"));
    connect(m_delete, &QAbstractButton::clicked, this, [this] { Q_EMIT deleteRequested(m_account); });

    m_codeRoll.setDuration(260);
    m_codeRoll.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_codeRoll, &QVariantAnimation::valueChanged, this, [this] { update(lines().code.toAlignedRect()); });
    m_markScale.setDuration(220);
    m_markScale.setEasingCurve(QEasingCurve::OutBack);
    connect(&m_markScale, &QVariantAnimation::valueChanged, this, [this] { update(copyMarkArea()); });
}

QString TokenRow::shownCode(const QString &codeText, bool steam)
{
    // Six and seven digits read as 3+3 and 3+4, eight as 4+4; Steam's letters stay whole.
    const qsizetype size = codeText.size();
    if (steam || size < 6 || size > 8)
        return codeText;
    const qsizetype head = size == 8 ? 4 : 3;
    return codeText.first(head) + u' ' + codeText.sliced(head);
}

QString TokenRow::maskedCode(const QString &shown)
{
    QString masked = shown;
    for (QChar &c : masked) {
        if (c.isLetterOrNumber())
            c = CodeImages::dot;
    }
    return masked;
}

QString TokenRow::titleLine(const TokenAccount &account)
{
    return account.issuer.isEmpty() ? account.name : account.issuer + u" · "_s + account.name;
}

void TokenRow::setAccount(const TokenAccount &account, bool first, bool last)
{
    if (account == m_account && first == m_first && last == m_last)
        return;
    if (account.id != m_account.id) {
        m_codeRoll.stop();
        m_codeText = placeholder;
    }
    m_account = account;
    m_first = first;
    m_last = last;
    m_progress->configure(account.otp.period, Palette::accentColor(isDark()), m_reduceMotion);
    m_progress->setVisible(!account.otp.isHotp());
    m_nextCode->setVisible(account.otp.isHotp());
    placeNextCode();
    m_delete->setAccessibleName(tr("删除 %1").arg(account.name));
    updateAccessibleText();
    update();
}

void TokenRow::setCode(const std::optional<QString> &code)
{
    const QString text = code.value_or(placeholder);
    if (text == m_codeText)
        return;
    m_previousCodeText = m_codeText;
    m_codeText = text;
    m_codeRoll.stop();
    if (!m_reduceMotion && m_previousCodeText != placeholder && isVisible() && showsCode()) {
        m_codeRoll.setStartValue(0.0);
        m_codeRoll.setEndValue(1.0);
        m_codeRoll.start();
    }
    updateAccessibleText();
    update(lines().code.toAlignedRect());
}

void TokenRow::setCopied(bool copied)
{
    if (copied == m_copied)
        return;
    m_copied = copied;
    m_markScale.stop();
    if (!m_reduceMotion && isVisible()) {
        m_markScale.setStartValue(copied ? 1.0 : 1.1);
        m_markScale.setEndValue(copied ? 1.1 : 1.0);
        m_markScale.start();
    }
    update(copyMarkArea());
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
    update(lines().code.toAlignedRect());
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
        setAccessibleName(tr("%1 验证码 %2，点击复制").arg(m_account.name, m_codeText));
    else
        setAccessibleName(tr("%1 验证码已隐藏，点击复制").arg(m_account.name));
}

bool TokenRow::isDark() const
{
    return Palette::isDark(palette());
}

QRect TokenRow::copyArea() const
{
    return {leftPadding, 0, m_delete->x() - spacing - leftPadding, mainLineHeight};
}

QRectF TokenRow::copyMarkRect() const
{
    const QRect area = copyArea();
    return QRectF(area.right() + 1 - markSize, (mainLineHeight - markSize) / 2.0, markSize, markSize);
}

// The mark grows by a tenth while it shows the check; this covers it at any scale.
QRect TokenRow::copyMarkArea() const
{
    return copyMarkRect().toAlignedRect().adjusted(-3, -3, 3, 3);
}

TokenRow::Lines TokenRow::lines() const
{
    Lines lines{panelFont(11, QFont::Medium), panelFont(29, QFont::Medium), {}, {}};
    const qreal titleHeight = QFontMetricsF(lines.titleFont).height();
    const qreal codeHeight = QFontMetricsF(lines.codeFont).height();
    const qreal top = (mainLineHeight - titleHeight - 2 - codeHeight) / 2;
    const qreal textRight = m_nextCode->isVisibleTo(this) ? m_nextCode->x() - 4 : copyMarkRect().left() - 8;
    const qreal textWidth = textRight - leftPadding;
    lines.title = QRectF(leftPadding, top, textWidth, titleHeight);
    lines.code = QRectF(leftPadding, top + titleHeight + 2, textWidth, codeHeight);
    return lines;
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
    m_codeImages = {};
    m_delete->move(width() - rightPadding - DeleteButton::size, (mainLineHeight - DeleteButton::size) / 2);
    m_progress->setGeometry(leftPadding, mainLineHeight, width() - 2 * leftPadding, 4);
    placeNextCode();
}

// On the code line, just before the copy mark.
void TokenRow::placeNextCode()
{
    const QSize size = m_nextCode->sizeHint();
    const QRectF mark = copyMarkRect();
    const qreal codeMiddle = lines().code.center().y();
    m_nextCode->setGeometry(int(mark.left()) - 6 - size.width(), int(codeMiddle - size.height() / 2.0), size.width(),
                            size.height());
    m_codeImages = {};
}

// Paints only the parts the event asks for: a rolling code or a growing mark repaints
// itself alone.
void TokenRow::paintEvent(QPaintEvent *event)
{
    const QRect dirty = event->rect();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = Palette::primary(isDark());
    if (m_hovered)
        painter.fillRect(rect(), Palette::faded(primary, 0.025f));
    if (!m_first)
        painter.fillRect(QRectF(leftPadding, 0, width() - 2 * leftPadding, 1), Palette::faded(primary, 0.055f));

    const Lines lines = this->lines();
    if (dirty.intersects(lines.title.toAlignedRect())) {
        painter.setFont(lines.titleFont);
        painter.setPen(Palette::secondary(isDark()));
        painter.drawText(
            lines.title, Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetricsF(lines.titleFont).elidedText(titleLine(m_account), Qt::ElideRight, lines.title.width()));
    }
    if (dirty.intersects(lines.code.toAlignedRect())) {
        painter.setClipRect(lines.code);
        const qreal codeTop = lines.code.top();
        if (!showsCode() && m_codeText != placeholder) {
            paintCode(painter, maskedCode(shownCode(m_codeText, m_account.otp.isSteam())), codeTop, 1);
        } else if (m_codeRoll.state() == QAbstractAnimation::Running) {
            const qreal progress = m_codeRoll.currentValue().toReal();
            paintCode(painter, shownCode(m_previousCodeText, m_account.otp.isSteam()),
                      codeTop - progress * rollDistance, 1 - progress);
            paintCode(painter, shownCode(m_codeText, m_account.otp.isSteam()), codeTop + (1 - progress) * rollDistance,
                      progress);
        } else {
            paintCode(painter, shownCode(m_codeText, m_account.otp.isSteam()), codeTop, 1);
        }
        painter.setClipping(false);
    }
    if (dirty.intersects(copyMarkArea()))
        paintCopyMark(painter);
    if (m_focusRing) {
        painter.setPen(Palette::focusRingPen(isDark()));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(4, 3, -4, -3), 10, 10);
    }
}

void TokenRow::paintCode(QPainter &painter, const QString &shown, qreal y, qreal opacity) const
{
    painter.setOpacity(opacity);
    const QImage &image =
        m_codeImages.image(shown, Palette::primary(isDark()), devicePixelRatioF(), lines().code.size());
    painter.drawImage(QPointF(leftPadding, y), image);
    painter.setOpacity(1);
}

void TokenRow::paintCopyMark(QPainter &painter) const
{
    const QColor accent = Palette::accentColor(isDark());
    const qreal scale = m_markScale.state() == QAbstractAnimation::Running ? m_markScale.currentValue().toReal()
                        : (m_copied && !m_reduceMotion)                    ? 1.1
                                                                           : 1.0;
    const QRectF markRect = copyMarkRect();
    painter.save();
    painter.translate(markRect.center());
    painter.scale(scale, scale);
    painter.translate(-markRect.center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_copied ? Palette::faded(accent, 0.12f) : Palette::faded(Palette::primary(isDark()), 0.045f));
    painter.drawEllipse(markRect);
    QRectF glyphRect(0, 0, 10, 10);
    glyphRect.moveCenter(markRect.center());
    Glyphs::paint(painter, m_copied ? Glyph::Checkmark : Glyph::DocOnDoc, glyphRect,
                  m_copied ? accent : Palette::secondary(isDark()), 1.6);
    painter.restore();
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

void TokenRow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_pressPos = event->position().toPoint();
    event->accept();
}

void TokenRow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressPos
        || (event->position().toPoint() - *m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressPos.reset();
    startDrag();
}

void TokenRow::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressPos && event->button() == Qt::LeftButton;
    m_pressPos.reset();
    if (click && copyArea().contains(event->position().toPoint()))
        Q_EMIT copyRequested(m_codeText, m_account);
}

void TokenRow::startDrag()
{
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setText(m_account.idText());
    drag->setMimeData(data);
    drag->setPixmap(grab().scaledToWidth(width() / 2, Qt::SmoothTransformation));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

// Only rows are taken here; anything else (an image file) goes on to the panel.
void TokenRow::dragEnterEvent(QDragEnterEvent *event)
{
    if (TokenAccount::idFromText(event->mimeData()->text()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TokenRow::dropEvent(QDropEvent *event)
{
    const auto dragged = TokenAccount::idFromText(event->mimeData()->text());
    if (!dragged) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // A copy: the move relays the rows out midway, and this row may then show another account.
    const QUuid target = m_account.id;
    Q_EMIT dropRequested(*dragged, target);
}

void TokenRow::contextMenuEvent(QContextMenuEvent *event)
{
    showContextMenu(event->globalPos());
}

QMenu *TokenRow::showContextMenu(const QPoint &globalPos)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const TokenAccount account = m_account;
    const QString code = m_codeText;
    menu->addAction(tr("复制验证码"), this, [this, code, account] { Q_EMIT copyRequested(code, account); });
    if (m_typingNote) {
        const QString note = m_typingNote();
        menu->addAction(note.isEmpty() ? tr("输入到上一个窗口") : tr("输入到上一个窗口（%1，改为复制）").arg(note),
                        this, [this, account] { Q_EMIT typeRequested(account); });
    }
    menu->addAction(tr("重命名…"), this, [this, account] { Q_EMIT renameRequested(account); });
    menu->addAction(tr("显示二维码…"), this, [this, account] { Q_EMIT qrCodeRequested(account); });
    menu->addSeparator();
    menu->addAction(tr("上移"), this, [this, account] { Q_EMIT moveRequested(account, -1); })->setEnabled(!m_first);
    menu->addAction(tr("下移"), this, [this, account] { Q_EMIT moveRequested(account, 1); })->setEnabled(!m_last);
    menu->addSeparator();
    menu->addAction(tr("删除"), this, [this, account] { Q_EMIT deleteRequested(account); });
    menu->popup(globalPos);
    return menu;
}
