#include "ui/TokenListView.h"

#include "ui/ListKey.h"
#include "ui/OverlayScrollBar.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"
#include "ui/PanelMetrics.h"
#include "ui/RowPool.h"
#include "ui/TokenRow.h"

#include <QKeyEvent>
#include <QPainter>

using PanelMetrics::tokenRowHeight;

TokenListView::Batch::Batch(TokenListView &list) : m_list(list)
{
    ++m_list.m_batches;
}

TokenListView::Batch::~Batch()
{
    if (--m_list.m_batches == 0 && m_list.m_layoutDue)
        m_list.layoutRows();
}

TokenListView::TokenListView(Clock clock, QWidget *parent)
    : QScrollArea(parent),
      m_container(new QWidget),
      m_rows(new RowPool(*m_container, std::move(clock))),
      m_scrollBar(new OverlayScrollBar(*this, tokenRowHeight / 2))
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setWidget(m_container);
    viewport()->setAutoFillBackground(false);
    m_container->setAutoFillBackground(false);
    connect(m_rows, &RowPool::rowAction, this, &TokenListView::rowAction);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TokenListView::layoutRows);
    // Rows scrolled under a still pointer, or away from it, look hovered or not at once.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TokenListView::syncHover);
}

QScrollBar *TokenListView::scrollBar() const
{
    return m_scrollBar;
}

int TokenListView::builtRowCount() const
{
    return m_rows->size();
}

void TokenListView::setAccounts(const QList<TokenAccount> &accounts, const QList<AccountGroup> &groups)
{
    const Batch batch(*this);
    const std::optional<QUuid> added = m_filter.setAccounts(accounts, groups);
    filtered();
    showAccount(added);
}

void TokenListView::holdPosition(bool hold)
{
    const Batch batch(*this);
    showAccount(m_filter.hold(hold));
}

void TokenListView::setFilter(const QString &term)
{
    const Batch batch(*this);
    if (!m_filter.setTerm(term))
        return;
    filtered();
    Q_EMIT filterChanged(term);
}

void TokenListView::filtered()
{
    m_container->resize(viewport()->width(), int(m_filter.shown().size()) * tokenRowHeight);
    m_scrollBar->place(m_filter.shown().size() > PanelMetrics::visibleRows);
    if (hasFocus())
        revealCurrent();
    layoutRows();
    viewport()->update();
}

bool TokenListView::typeToFilter(const QKeyEvent &event)
{
    const std::optional<QString> term = AccountFilter::typed(m_filter.term(), event);
    if (term)
        setFilter(*term);
    return term.has_value();
}

void TokenListView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty()) {
        m_focusVisible = true;
        setFilter(m_filter.term() + event->commitString());
    }
    event->accept();
}

void TokenListView::showAccount(const std::optional<QUuid> &id)
{
    if (id && m_filter.setCurrent(*id)) {
        revealCurrent();
        layoutRows();
    }
}

void TokenListView::revealCurrent()
{
    const qsizetype index = m_filter.currentIndex();
    if (index >= 0)
        ensureVisible(0, int(index) * tokenRowHeight + tokenRowHeight / 2, 0, tokenRowHeight / 2);
}

void TokenListView::setTypingNote(const std::function<QString()> &note)
{
    m_typingOffered = bool(note);
    m_rows->setTypingNote(note);
}

bool TokenListView::actOnCurrent(const QKeyEvent &event)
{
    const std::optional<ListKey> key = ListKey::of(event);
    if (!key)
        return false;
    const std::optional<TokenAccount> account = m_filter.current();
    if (key->kind == ListKey::Kind::Step) {
        m_filter.step(key->step);
        revealCurrent();
    } else if (account && key->kind == ListKey::Kind::Menu) {
        showMenuOfCurrent();
    } else if (account) {
        const bool typing = key->action == RowAction::TypeIntoPreviousWindow;
        Q_EMIT rowAction(typing && !m_typingOffered ? RowAction::Copy : key->action, *account, {});
    }
    return true;
}

// The row's own context menu, opened from the keyboard at the start of its code.
void TokenListView::showMenuOfCurrent()
{
    {
        const Batch batch(*this);
        revealCurrent();
        layoutRows();
    }
    if (TokenRow *row = rowFor(m_filter.current()->id))
        row->showContextMenu(row->mapToGlobal(row->copyArea().center()));
}

void TokenListView::keyPressEvent(QKeyEvent *event)
{
    const Batch batch(*this);
    if (!actOnCurrent(*event) && !typeToFilter(*event)) {
        event->ignore();
        return;
    }
    m_focusVisible = true;
    layoutRows();
}

void TokenListView::focusInEvent(QFocusEvent *event)
{
    QScrollArea::focusInEvent(event);
    const Batch batch(*this);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        m_focusVisible = true;
    revealCurrent();
    layoutRows();
}

// Another window taking the focus for a while (a sheet, a menu) keeps the ring for when
// the focus comes back.
void TokenListView::focusOutEvent(QFocusEvent *event)
{
    QScrollArea::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_focusVisible = false;
    layoutRows();
}

void TokenListView::setCodes(const QHash<QUuid, QString> &codes)
{
    if (m_rows->setCodes(codes))
        layoutRows();
}

void TokenListView::setCopiedAccount(const std::optional<QUuid> &id)
{
    if (m_rows->setCopied(id))
        layoutRows();
}

void TokenListView::setReduceMotion(bool reduceMotion)
{
    m_rows->setReduceMotion(reduceMotion);
}

void TokenListView::setCodesHidden(bool hidden)
{
    if (m_rows->setCodesHidden(hidden))
        layoutRows();
}

void TokenListView::syncHover()
{
    m_rows->syncHover();
}

TokenRow *TokenListView::rowFor(const QUuid &id) const
{
    return m_rows->rowFor(id);
}

void TokenListView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    const Batch batch(*this);
    m_container->resize(viewport()->width(), m_container->height());
    m_scrollBar->place(m_filter.shown().size() > PanelMetrics::visibleRows);
    layoutRows();
}

void TokenListView::paintEvent(QPaintEvent *)
{
    if (!m_filter.shown().isEmpty() || m_filter.accounts().isEmpty())
        return;
    QPainter painter(viewport());
    painter.setFont(panelFont(12, QFont::Medium));
    painter.setPen(Palette::secondary(Palette::isDark(palette())));
    painter.drawText(viewport()->rect(), Qt::AlignCenter, tr("没有匹配的验证码"));
}

// Gives the rows in view (plus one either side) their accounts.
void TokenListView::layoutRows()
{
    m_layoutDue = m_batches > 0;
    if (m_layoutDue)
        return;
    const int top = verticalScrollBar()->value();
    const qsizetype first = std::max<qsizetype>(top / tokenRowHeight - 1, 0);
    const qsizetype last =
        std::min<qsizetype>((top + viewport()->height()) / tokenRowHeight + 1, m_filter.shown().size() - 1);
    const QList<QUuid> laidOut = m_rows->show(m_filter, first, last, m_focusVisible && hasFocus());
    if (laidOut != std::exchange(m_laidOut, laidOut))
        Q_EMIT rowsShown(m_laidOut);
}
