#include "ui/TokenListView.h"

#include "ui/Palette.h"
#include "ui/PanelFonts.h"
#include "ui/PanelMetrics.h"
#include "ui/TokenRow.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>

#include <utility>

using namespace Qt::Literals::StringLiterals;
using PanelMetrics::tokenRowHeight;

namespace {

constexpr int scrollBarWidth = 6;

} // namespace

TokenListView::TokenListView(Clock clock, QWidget *parent)
    : QScrollArea(parent),
      m_clock(std::move(clock)),
      m_container(new QWidget),
      m_scrollBar(new QScrollBar(Qt::Vertical, this))
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setWidget(m_container);
    viewport()->setAutoFillBackground(false);
    m_container->setAutoFillBackground(false);

    // The built-in bar keeps scrolling (wheel, ensureVisible) but takes no room; the
    // overlay mirrors it.
    verticalScrollBar()->setSingleStep(tokenRowHeight / 2);
    m_scrollBar->setSingleStep(tokenRowHeight / 2);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setStyleSheet(
        u"QScrollBar:vertical { width: 6px; background: transparent; margin: 2px 1px; }"
        "QScrollBar::handle:vertical { background: rgba(128,128,128,0.45); border-radius: 2px; min-height: 24px; }"
        "QScrollBar::add-line, QScrollBar::sub-line, QScrollBar::add-page, QScrollBar::sub-page { height: 0; background: none; }"_s);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, m_scrollBar, &QScrollBar::setRange);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, m_scrollBar, &QScrollBar::setValue);
    connect(m_scrollBar, &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TokenListView::layoutRows);
    // Rows scrolled under a still pointer, or away from it, look hovered or not at once.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TokenListView::syncHover);
}

void TokenListView::setAccounts(const QList<TokenAccount> &accounts)
{
    const qsizetype current = currentIndex();
    const QList<TokenAccount> before = std::exchange(m_accounts, accounts);
    applyFilter(current);
    if (accounts.size() <= before.size())
        return;
    const QUuid added = firstNew(before, accounts);
    if (!m_held)
        showAccount(added);
    else if (!m_firstAddedWhileHeld)
        m_firstAddedWhileHeld = added;
}

void TokenListView::holdPosition(bool hold)
{
    m_held = hold;
    if (const auto added = std::exchange(m_firstAddedWhileHeld, std::nullopt); added && !hold)
        showAccount(*added);
}

// An account added, imported or brought back is shown where it landed.
QUuid TokenListView::firstNew(const QList<TokenAccount> &before, const QList<TokenAccount> &after)
{
    QSet<QUuid> known;
    for (const TokenAccount &account : before)
        known.insert(account.id);
    const auto added =
        std::ranges::find_if(after, [&known](const TokenAccount &account) { return !known.contains(account.id); });
    return added == after.cend() ? QUuid() : added->id;
}

void TokenListView::setFilter(const QString &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    applyFilter(0);
    Q_EMIT filterChanged(m_filter);
}

void TokenListView::applyFilter(qsizetype fallback)
{
    m_shown.clear();
    for (const TokenAccount &account : std::as_const(m_accounts))
        if (account.matches(m_filter))
            m_shown.append(account);
    if (currentIndex() < 0)
        m_current = m_shown.isEmpty()
                        ? std::nullopt
                        : std::optional(m_shown[std::clamp<qsizetype>(fallback, 0, m_shown.size() - 1)].id);
    m_container->resize(viewport()->width(), int(m_shown.size()) * tokenRowHeight);
    placeScrollBar();
    if (hasFocus())
        revealCurrent();
    layoutRows();
    viewport()->update();
}

bool TokenListView::typeToFilter(const QKeyEvent &event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (event.key() == Qt::Key_Backspace) {
        if (m_filter.isEmpty())
            return false;
        setFilter(m_filter.chopped(1));
        return true;
    }
    const QString text = event.text();
    const bool printable = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); });
    // Space presses buttons; it only continues a filter.
    if (text.isEmpty() || !printable || (m_filter.isEmpty() && text.trimmed().isEmpty()))
        return false;
    setFilter(m_filter + text);
    return true;
}

void TokenListView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty()) {
        m_focusVisible = true;
        setFilter(m_filter + event->commitString());
    }
    event->accept();
}

std::optional<TokenAccount> TokenListView::currentAccount() const
{
    const qsizetype index = currentIndex();
    return index < 0 ? std::nullopt : std::optional(m_shown[index]);
}

std::optional<TokenAccount> TokenListView::shownAccount(qsizetype index) const
{
    if (index < 0 || index >= m_shown.size())
        return std::nullopt;
    return m_shown.at(index);
}

void TokenListView::showAccount(const QUuid &id)
{
    const auto shown = std::ranges::find(std::as_const(m_shown), id, &TokenAccount::id);
    if (shown == m_shown.cend())
        return;
    setCurrent(shown - m_shown.cbegin());
    layoutRows();
}

qsizetype TokenListView::currentIndex() const
{
    if (!m_current)
        return -1;
    const auto it = std::find_if(m_shown.cbegin(), m_shown.cend(),
                                 [this](const TokenAccount &account) { return account.id == *m_current; });
    return it == m_shown.cend() ? -1 : it - m_shown.cbegin();
}

void TokenListView::setCurrent(qsizetype index)
{
    m_current = m_shown[index].id;
    revealCurrent();
}

void TokenListView::revealCurrent()
{
    const qsizetype index = currentIndex();
    if (index >= 0)
        ensureVisible(0, int(index) * tokenRowHeight + tokenRowHeight / 2, 0, tokenRowHeight / 2);
}

bool TokenListView::actOnCurrent(const QKeyEvent &event)
{
    const std::optional<TokenAccount> account = currentAccount();
    const bool control = event.modifiers() & Qt::ControlModifier;
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int step = event.key() == Qt::Key_Up ? -1 : 1;
        if (control && account)
            Q_EMIT moveRequested(*account, step);
        else if (!control && !m_shown.isEmpty())
            setCurrent(std::clamp<qsizetype>(currentIndex() + step, 0, m_shown.size() - 1));
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (account && control && m_typingNote)
            Q_EMIT typeRequested(*account);
        else if (account)
            Q_EMIT copyRequested(m_codes.value(account->id), *account);
        return true;
    case Qt::Key_Delete:
        if (account)
            Q_EMIT deleteRequested(*account);
        return true;
    case Qt::Key_F2:
        if (account)
            Q_EMIT renameRequested(*account);
        return true;
    case Qt::Key_F10:
        if (!(event.modifiers() & Qt::ShiftModifier))
            break;
        [[fallthrough]];
    case Qt::Key_Menu:
        if (account)
            showMenuOfCurrent();
        return true;
    default:
        break;
    }
    if (!event.matches(QKeySequence::Copy))
        return false;
    if (account)
        Q_EMIT copyRequested(m_codes.value(account->id), *account);
    return true;
}

// The row's own context menu, opened from the keyboard at the start of its code.
void TokenListView::showMenuOfCurrent()
{
    revealCurrent();
    layoutRows();
    if (TokenRow *row = rowFor(*m_current))
        row->showContextMenu(row->mapToGlobal(row->copyArea().center()));
}

void TokenListView::keyPressEvent(QKeyEvent *event)
{
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
    if (codes == m_codes)
        return;
    m_codes = codes;
    layoutRows();
}

void TokenListView::setCopiedAccount(const std::optional<QUuid> &id)
{
    m_copied = id;
    layoutRows();
}

void TokenListView::setReduceMotion(bool reduceMotion)
{
    m_reduceMotion = reduceMotion;
    for (TokenRow *row : std::as_const(m_rows))
        row->setReduceMotion(reduceMotion);
}

void TokenListView::setCodesHidden(bool hidden)
{
    m_codesHidden = hidden;
    layoutRows();
}

void TokenListView::syncHover()
{
    for (TokenRow *row : std::as_const(m_rows))
        row->syncHover();
}

TokenRow *TokenListView::rowFor(const QUuid &id) const
{
    for (TokenRow *row : m_rows) {
        if (row->isVisibleTo(m_container) && row->account().id == id)
            return row;
    }
    return nullptr;
}

int TokenListView::builtRowCount() const
{
    return int(m_rows.size());
}

void TokenListView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    m_container->resize(viewport()->width(), m_container->height());
    placeScrollBar();
    layoutRows();
}

void TokenListView::placeScrollBar()
{
    m_scrollBar->setGeometry(width() - scrollBarWidth, 0, scrollBarWidth, height());
    m_scrollBar->setPageStep(viewport()->height());
    m_scrollBar->setVisible(m_shown.size() > PanelMetrics::visibleRows);
    m_scrollBar->raise();
}

void TokenListView::paintEvent(QPaintEvent *)
{
    if (!m_shown.isEmpty() || m_accounts.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setFont(panelFont(12, QFont::Medium));
    painter.setPen(Palette::secondary(Palette::isDark(palette())));
    painter.drawText(viewport()->rect(), Qt::AlignCenter, tr("没有匹配的验证码"));
}

void TokenListView::setTypingNote(std::function<QString()> note)
{
    m_typingNote = std::move(note);
    for (TokenRow *row : std::as_const(m_rows))
        row->setTypingNote(m_typingNote);
}

TokenRow *TokenListView::newRow()
{
    auto *row = new TokenRow(m_clock, m_container);
    row->setReduceMotion(m_reduceMotion);
    connect(row, &TokenRow::copyRequested, this, &TokenListView::copyRequested);
    connect(row, &TokenRow::renameRequested, this, &TokenListView::renameRequested);
    connect(row, &TokenRow::qrCodeRequested, this, &TokenListView::qrCodeRequested);
    connect(row, &TokenRow::moveRequested, this, &TokenListView::moveRequested);
    connect(row, &TokenRow::deleteRequested, this, &TokenListView::deleteRequested);
    connect(row, &TokenRow::dropRequested, this, &TokenListView::dropRequested);
    connect(row, &TokenRow::typeRequested, this, &TokenListView::typeRequested);
    row->setTypingNote(m_typingNote);
    m_rows.append(row);
    return row;
}

// Gives the rows in view (plus one either side) their accounts; the rest stay hidden.
void TokenListView::layoutRows()
{
    const qsizetype count = m_shown.size();
    const int top = verticalScrollBar()->value();
    const qsizetype first = std::max<qsizetype>(top / tokenRowHeight - 1, 0);
    const qsizetype last = std::min<qsizetype>((top + viewport()->height()) / tokenRowHeight + 1, count - 1);
    const bool ring = m_focusVisible && hasFocus();
    qsizetype used = 0;
    QList<QUuid> laidOut;
    for (qsizetype index = first; index <= last; ++index, ++used) {
        TokenRow *row = used < m_rows.size() ? m_rows[used] : newRow();
        const TokenAccount &account = m_shown[index];
        laidOut.append(account.id);
        // The menu's moves act on the whole list, whatever the filter shows.
        row->setAccount(account, account.id == m_accounts.first().id, account.id == m_accounts.last().id);
        const auto code = m_codes.constFind(account.id);
        row->setCode(code == m_codes.constEnd() ? std::nullopt : std::optional(*code));
        row->setCopied(m_copied == account.id);
        row->setFocusRing(ring && m_current == account.id);
        row->setCodeHidden(m_codesHidden);
        row->setGeometry(0, int(index) * tokenRowHeight, m_container->width(), tokenRowHeight);
        row->show();
    }
    for (qsizetype i = used; i < m_rows.size(); ++i)
        m_rows[i]->hide();
    if (laidOut != std::exchange(m_laidOut, laidOut))
        Q_EMIT rowsShown(m_laidOut);
}
