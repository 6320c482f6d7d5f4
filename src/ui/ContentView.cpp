#include "ui/ContentView.h"

#include "store/TokenStore.h"
#include "ui/AddFlows.h"
#include "ui/CodeCopier.h"
#include "ui/EmptyStateView.h"
#include "ui/KeychainStatusPresenter.h"
#include "ui/KeychainStatusView.h"
#include "ui/Palette.h"
#include "ui/PanelBorder.h"
#include "ui/PanelHeader.h"
#include "ui/PanelMetrics.h"
#include "ui/QuickEntryView.h"
#include "ui/SheetPresenter.h"
#include "ui/TokenListView.h"
#include "ui/UndoBar.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

using namespace PanelMetrics;

namespace {

constexpr std::chrono::milliseconds codeTimerInterval(500);

// Views never shown stay unbuilt.
void place(QWidget *view, const std::optional<QRect> &geometry)
{
    if (!view)
        return;
    if (geometry)
        view->setGeometry(*geometry);
    view->setVisible(geometry.has_value());
}

} // namespace

ContentView::ContentView(TokenStore &store, CodeClipboard &clipboard, Clock clock, SingleShot singleShot,
                         QWidget *parent)
    : QWidget(parent),
      m_store(store),
      m_clock(std::move(clock)),
      m_header(new PanelHeader(store, this)),
      m_list(new TokenListView(m_clock, this)),
      m_border(new PanelBorder(this)),
      m_keychainStatus(new KeychainStatusView(this)),
      m_keychainPresenter(new KeychainStatusPresenter(store, *m_keychainStatus, singleShot, this)),
      m_sheets(new SheetPresenter(store, *this, std::bind_front(&PanelFocus::target, &m_focus), this)),
      m_addFlows(new AddFlows(store, clipboard, *m_sheets, singleShot, *this)),
      m_copier(new CodeCopier(store, clipboard, singleShot, this)),
      m_focus(*this, *m_header, *m_list, *m_addFlows)
{
    m_codeTimer.setInterval(codeTimerInterval);
    m_codeTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_codeTimer, &QTimer::timeout, this, [this] { m_store.refreshCodes(m_clock()); });
    connect(&m_store, &TokenStore::accountsChanged, this, &ContentView::accountsChanged);
    connect(&m_store, &TokenStore::codesChanged, this, [this] { m_list->setCodes(m_store.codes()); });
    connect(&m_store, &TokenStore::pendingDeletionChanged, this, &ContentView::pendingDeletionChanged);
    connect(&m_store, &TokenStore::importingChanged, m_list, &TokenListView::holdPosition);
    connect(&m_store.preferences(), &PanelPreferences::hideCodesChanged, this,
            [this] { m_list->setCodesHidden(m_store.preferences().hideCodes()); });
    connect(&m_store.preferences(), &PanelPreferences::panelOpacityChanged, this, [this] {
        update();
        Q_EMIT windowAlphaResetRequested();
    });
    connectSections();

    m_accountCount = m_store.accounts().size();
    const TokenListView::Batch batch(*m_list);
    m_list->setAccounts(m_store.accounts(), m_store.groups());
    m_list->setCodes(m_store.codes());
    m_list->setCodesHidden(m_store.preferences().hideCodes());
    pendingDeletionChanged();
    relayout();
}

void ContentView::connectSections()
{
    connect(m_header, &PanelHeader::pasteRequested, m_addFlows, &AddFlows::pasteAndAdd);
    connect(m_header, &PanelHeader::addRequested, this, [this] { m_sheets->setShowingAdd(true); });
    connect(m_header, &PanelHeader::collapseToggled, this, [this] { setCollapsed(!m_collapsed); });
    connect(m_header, &PanelHeader::quitRequested, this, &ContentView::quitRequested);
    connect(m_header, &PanelHeader::exportRequested, this, &ContentView::exportRequested);
    connect(m_header, &PanelHeader::importRequested, this, &ContentView::importRequested);

    connect(m_list, &TokenListView::rowAction, this, &ContentView::actOnRow);
    connect(m_copier, &CodeCopier::copiedAccountChanged, m_list, &TokenListView::setCopiedAccount);
    connect(m_list, &TokenListView::filterChanged, m_header, &PanelHeader::setFilter);
    connect(m_list, &TokenListView::filterChanged, this, &ContentView::reshape); // fewer rows, a shorter panel
    connect(m_keychainPresenter, &KeychainStatusPresenter::shownChanged, this, &ContentView::reshape);
    connect(m_sheets, &SheetPresenter::focusRestored, m_list, &TokenListView::syncHover);
    connect(m_addFlows, &AddFlows::quickErrorChanged, this, &ContentView::reshape);
    connect(m_addFlows, &AddFlows::keychainRefused, m_keychainPresenter, &KeychainStatusPresenter::showMessage);
    connect(m_addFlows, &AddFlows::lockedKeychainRefused, m_keychainPresenter,
            &KeychainStatusPresenter::offerLockedAdd);
    connect(m_keychainPresenter, &KeychainStatusPresenter::addAgainRequested, m_addFlows, &AddFlows::addQuickSecret);
    connect(m_list, &TokenListView::rowsShown, &m_store, &TokenStore::showAccounts);
}

void ContentView::actOnRow(RowAction action, const TokenAccount &account, const QUuid &dropped)
{
    switch (action) {
    case RowAction::Copy:
        m_copier->copyAccount(account);
        break;
    case RowAction::Rename:
        m_sheets->setEditingAccount(account);
        break;
    case RowAction::ShowQrCode:
        Q_EMIT qrCodeRequested(account);
        break;
    case RowAction::MoveUp:
    case RowAction::MoveDown:
        m_store.move(account, action == RowAction::MoveUp ? -1 : 1);
        break;
    case RowAction::Delete:
        m_store.requestDelete(account);
        break;
    case RowAction::DropOnto:
        m_store.move(dropped, account.id);
        break;
    case RowAction::TypeIntoPreviousWindow:
        Q_EMIT typeRequested(account);
        break;
    }
}

void ContentView::copyShownRow(int index)
{
    if (const std::optional<TokenAccount> account = m_list->filter().shownAt(index))
        m_copier->copyAccount(*account);
}

// The empty state and the undo bar are built when first shown: most launches never show them.
EmptyStateView *ContentView::emptyState()
{
    if (!m_emptyState)
        m_emptyState = new EmptyStateView(this);
    return m_emptyState;
}

UndoBar *ContentView::undoBar()
{
    if (!m_undoBar)
        m_undoBar = new UndoBar(m_store, this);
    return m_undoBar;
}

PanelLayout ContentView::layout() const
{
    return PanelLayout::of({width(), m_collapsed, m_store.accounts().size(), m_list->filter().shown().size(),
                            m_store.pendingDeletion().has_value(), m_addFlows->quickError().has_value(),
                            m_keychainPresenter->isShown()});
}

// Requests made while one is waiting for its turn replace it: a store operation that
// changes the list and the pending deletion together moves the panel once.
void ContentView::resizeWindow(bool animated)
{
    const bool queued = m_requestedSize.has_value();
    m_requestedSize = {QSizeF(panelWidth, panelHeight()), animated};
    if (queued)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const auto [size, animate] = *std::exchange(m_requestedSize, std::nullopt);
            Q_EMIT sizeRequested(size, animate);
        },
        Qt::QueuedConnection);
}

void ContentView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_store.hideCounterCodes();
}

void ContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (std::exchange(m_appeared, true))
        return;
    resizeWindow(false);
    Q_EMIT windowAlphaResetRequested();
    m_store.refreshCodes(m_clock());
    m_codeTimer.start();
    if (!focusWidget())
        m_focus.target()->setFocus(Qt::OtherFocusReason);
}

void ContentView::setCollapsed(bool collapsed)
{
    if (collapsed == m_collapsed)
        return;
    m_collapsed = collapsed;
    m_header->setCollapsed(collapsed);
    reshape();
}

// Keys no control took: typing goes to the rows' filter, Down and Up to the rows.
void ContentView::keyPressEvent(QKeyEvent *event)
{
    if (!m_focus.route(*event))
        QWidget::keyPressEvent(event);
}

void ContentView::setReduceMotion(bool reduceMotion)
{
    m_list->setReduceMotion(reduceMotion);
}

// The rows are laid out once, after the panel's sections moved.
void ContentView::accountsChanged()
{
    const TokenListView::Batch batch(*m_list);
    m_list->setAccounts(m_store.accounts(), m_store.groups());
    m_list->setCodes(m_store.codes());
    const qsizetype count = m_store.accounts().size();
    if (count == m_accountCount)
        return;
    m_accountCount = count;
    if (count == 0)
        m_focus.clearFilter();
    reshape();
}

void ContentView::pendingDeletionChanged()
{
    const auto &pending = m_store.pendingDeletion();
    const std::optional<QUuid> id = pending ? std::optional(pending->account.id) : std::nullopt;
    if (id == m_pendingID)
        return;
    m_pendingID = id;
    reshape();
}

void ContentView::reshape()
{
    relayout();
    resizeWindow(true);
}

void ContentView::relayout()
{
    m_layout = layout();
    const QPointer<QWidget> focused = focusWidget();
    m_header->setGeometry(m_layout.header);
    place(m_keychainStatus, m_layout.keychainStatus);
    place(m_layout.quickEntry ? m_addFlows->quickEntry() : m_addFlows->builtQuickEntry(), m_layout.quickEntry);
    place(m_layout.emptyState ? emptyState() : m_emptyState, m_layout.emptyState);
    place(m_list, m_layout.list);
    place(m_layout.undoBar ? undoBar() : m_undoBar, m_layout.undoBar);
    m_focus.follow(focused);
    m_border->setGeometry(rect());
    m_border->raise();
    update();
}

void ContentView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void ContentView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        update();
}

void ContentView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = Palette::isDark(palette());
    const bool translucent = window()->testAttribute(Qt::WA_TranslucentBackground);
    m_border->fillBody(painter, event->region(),
                       Palette::panelBody(dark, m_store.preferences().panelOpacity(), translucent));
    const QColor divider = Palette::faded(Palette::primary(dark), 0.07f);
    for (const QRect &line : std::as_const(m_layout.dividers))
        painter.fillRect(line, divider);
}
