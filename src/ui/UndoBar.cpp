#include "ui/UndoBar.h"

#include "store/TokenStore.h"
#include "ui/CodeText.h"
#include "ui/Glyphs.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int sidePadding = 13;
constexpr int spacing = 8;
constexpr int iconSize = 10;

} // namespace

UndoBar::UndoBar(TokenStore &store, QWidget *parent)
    : QWidget(parent),
      m_store(store),
      m_undo(new QPushButton(tr("撤销"), this))
{
    m_undo->setFlat(true);
    m_undo->setFont(panelFont(11, QFont::DemiBold));
    m_undo->setCursor(Qt::PointingHandCursor);
    styleUndoButton();
    connect(m_undo, &QPushButton::clicked, this, [this] { m_store.undoDelete(); });
    connect(&m_store, &TokenStore::pendingDeletionChanged, this, &UndoBar::showPending);
    showPending();
}

// Named as its row was, issuer and name, so that one of several accounts of one name is
// told apart. The name stays while the bar goes away.
void UndoBar::showPending()
{
    if (const auto &pending = m_store.pendingDeletion()) {
        m_message = tr("已删除 %1").arg(CodeText::titleLine(pending->account));
        setAccessibleName(m_message);
        update();
    }
}

void UndoBar::styleUndoButton()
{
    const QColor accent = Palette::accentColor(Palette::isDark(palette()));
    m_undo->setStyleSheet(u"QPushButton { color: %1; border: 2px solid transparent; border-radius: 5px;"
                          " background: transparent; padding: 0 3px; }"
                          "QPushButton:focus { border-color: %1; }"_s.arg(accent.name()));
    m_undo->adjustSize();
}

void UndoBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        styleUndoButton();
}

void UndoBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_undo->move(width() - sidePadding - m_undo->width(), (height() - m_undo->height()) / 2);
}

void UndoBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = Palette::isDark(palette());
    const qreal middle = height() / 2.0;
    Glyphs::paint(painter, Glyph::Trash, QRectF(sidePadding, middle - iconSize / 2.0, iconSize, iconSize),
                  Palette::secondary(dark), 1.4);

    const QFont font = panelFont(11, QFont::Medium);
    const qreal left = sidePadding + iconSize + spacing;
    const QRectF textRect(left, 0, m_undo->x() - spacing - left, height());
    painter.setFont(font);
    painter.setPen(Palette::primary(dark));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font).elidedText(m_message, Qt::ElideRight, textRect.width()));
}
