#include "ui/ContentView.h"

#include "store/TokenStore.h"
#include "ui/AddTokenView.h"
#include "ui/CircleButton.h"
#include "ui/CodeClipboard.h"
#include "ui/EditTokenView.h"
#include "ui/EmptyStateView.h"
#include "ui/KeychainStatusView.h"
#include "ui/Palette.h"
#include "ui/PanelBorder.h"
#include "ui/PanelHeader.h"
#include "ui/PanelMetrics.h"
#include "ui/PanelNotifications.h"
#include "ui/QrScanner.h"
#include "ui/QuickEntryView.h"
#include "ui/TokenListView.h"
#include "ui/UndoBar.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::Literals::StringLiterals;
using namespace PanelMetrics;

namespace {

constexpr std::chrono::milliseconds codeTimerInterval(500);
constexpr std::chrono::milliseconds copiedMarkDuration(1200);
constexpr std::chrono::milliseconds quickErrorDuration(3000);

// Digits, or Steam's digits and letters; never the placeholder.
bool isCode(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

// The local file of a drop that carries one, else empty.
QString droppedFile(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

// Views never shown stay unbuilt.
void place(QWidget *view, bool visible, const QRect &geometry)
{
    if (!view)
        return;
    view->setGeometry(geometry);
    view->setVisible(visible);
}

} // namespace

ContentView::ContentView(TokenStore &store, CodeClipboard &clipboard, PanelNotifications &notifications, Clock clock,
                         SingleShot singleShot, QWidget *parent)
    : QWidget(parent),
      m_store(store),
      m_clipboard(clipboard),
      m_clock(std::move(clock)),
      m_singleShot(std::move(singleShot)),
      m_header(new PanelHeader(this)),
      m_list(new TokenListView(m_clock, this)),
      m_border(new PanelBorder(this)),
      m_keychainStatus(new KeychainStatusView(this))
{
    setAcceptDrops(true);
    m_codeTimer.setInterval(codeTimerInterval);
    m_codeTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_codeTimer, &QTimer::timeout, this, [this] { m_store.refreshCodes(m_clock()); });
    connect(&notifications, &PanelNotifications::copyTokenAtIndex, this, &ContentView::copyAccount);
    connect(&notifications, &PanelNotifications::pasteSecretAndAdd, this, &ContentView::pasteAndAdd);
    connectStore();
    connectSections();

    m_accountCount = m_store.accounts().size();
    m_list->setAccounts(m_store.accounts());
    m_list->setCodes(m_store.codes());
    m_header->setPanelOpacity(m_store.panelOpacity());
    pendingDeletionChanged();
    updateKeychainStatus();
    relayout();
}

// The sheets belong to the panel window, which may outlive this view.
ContentView::~ContentView()
{
    for (QDialog *sheet : {m_addSheet.data(), m_editSheet.data()}) {
        if (sheet)
            sheet->disconnect(this);
        delete sheet;
    }
}

void ContentView::connectStore()
{
    connect(&m_store, &TokenStore::accountsChanged, this, &ContentView::accountsChanged);
    connect(&m_store, &TokenStore::codesChanged, this, [this] { m_list->setCodes(m_store.codes()); });
    connect(&m_store, &TokenStore::pendingDeletionChanged, this, &ContentView::pendingDeletionChanged);
    connect(&m_store, &TokenStore::keychainStatusChanged, this, &ContentView::updateKeychainStatus);
    connect(&m_store, &TokenStore::keychainMessage, this, &ContentView::showKeychainMessage);
    connect(&m_store, &TokenStore::panelOpacityChanged, this, [this] {
        m_header->setPanelOpacity(m_store.panelOpacity());
        update();
        Q_EMIT windowAlphaResetRequested();
    });
}

void ContentView::connectSections()
{
    connect(m_header, &PanelHeader::pasteRequested, this, &ContentView::pasteAndAdd);
    connect(m_header, &PanelHeader::addRequested, this, [this] { setShowingAdd(true); });
    connect(m_header, &PanelHeader::collapseToggled, this, [this] { setCollapsed(!m_collapsed); });
    connect(m_header, &PanelHeader::quitRequested, this, &ContentView::quitRequested);
    connect(m_header, &PanelHeader::exportRequested, this, &ContentView::exportRequested);
    connect(m_header, &PanelHeader::importRequested, this, &ContentView::importRequested);
    connect(m_header, &PanelHeader::opacityChosen, this, [this](double opacity) {
        m_store.setPanelOpacity(opacity);
        m_store.persistSettings();
    });

    connect(m_list, &TokenListView::copyRequested, this, &ContentView::copy);
    connect(m_list, &TokenListView::qrCodeRequested, this, &ContentView::qrCodeRequested);
    connect(m_list, &TokenListView::renameRequested, this,
            [this](const TokenAccount &account) { setEditingAccount(account); });
    connect(m_list, &TokenListView::moveRequested, this,
            [this](const TokenAccount &account, qint64 by) { m_store.move(account, by); });
    connect(m_list, &TokenListView::deleteRequested, this,
            [this](const TokenAccount &account) { m_store.requestDelete(account); });
    connect(m_list, &TokenListView::dropRequested, this,
            [this](const QUuid &dragged, const QUuid &target) { m_store.move(dragged, target); });
    connect(m_list, &TokenListView::filterChanged, m_header, &PanelHeader::setFilter);
    connect(m_list, &TokenListView::rowsShown, &m_store, &TokenStore::showAccounts);
    connect(m_keychainStatus, &KeychainStatusView::actionRequested, this, [this] { m_store.unlockKeychain(); });
}

// The quick entry, the empty state and the undo bar are built when first shown: most
// launches never show them.
QuickEntryView *ContentView::quickEntry()
{
    if (!m_quickEntry) {
        m_quickEntry = new QuickEntryView(this);
        m_quickEntry->setError(m_quickError);
        connect(m_quickEntry, &QuickEntryView::submitted, this, &ContentView::addQuickSecret);
        connect(m_quickEntry, &QuickEntryView::pasteRequested, this, &ContentView::pasteAndAdd);
        connect(m_quickEntry, &QuickEntryView::textEdited, this, [this](const QString &text) {
            if (!text.isEmpty())
                setQuickError(std::nullopt);
        });
    }
    return m_quickEntry;
}

EmptyStateView *ContentView::emptyState()
{
    if (!m_emptyState)
        m_emptyState = new EmptyStateView(this);
    return m_emptyState;
}

UndoBar *ContentView::undoBar()
{
    if (!m_undoBar) {
        m_undoBar = new UndoBar(this);
        connect(m_undoBar, &UndoBar::undoRequested, this, [this] { m_store.undoDelete(); });
    }
    return m_undoBar;
}

int ContentView::panelHeight() const
{
    if (m_collapsed)
        return headerHeight;
    const qsizetype count = m_store.accounts().size();
    const int undo = m_store.pendingDeletion() ? dividerHeight + undoBarHeight : 0;
    const int top = headerHeight + dividerHeight + (showsKeychainStatus() ? statusLineHeight : 0);
    if (count > 0)
        return top + tokenRowHeight * int(std::min<qsizetype>(count, visibleRows)) + undo;
    const int quick = m_quickError ? quickEntryErrorHeight : quickEntryHeight;
    return top + quick + emptyStateHeight + undo;
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

void ContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_appeared)
        appear();
}

void ContentView::appear()
{
    m_appeared = true;
    resizeWindow(false);
    Q_EMIT windowAlphaResetRequested();
    m_store.refreshCodes(m_clock());
    m_codeTimer.start();
    if (!focusWidget())
        focusTarget()->setFocus(Qt::OtherFocusReason);
}

void ContentView::setCollapsed(bool collapsed)
{
    if (collapsed == m_collapsed)
        return;
    m_collapsed = collapsed;
    m_header->setCollapsed(collapsed);
    relayout();
    resizeWindow(true);
}

void ContentView::setQuickError(const std::optional<QString> &error)
{
    if (error == m_quickError)
        return;
    m_quickError = error;
    if (m_quickEntry)
        m_quickEntry->setError(error);
    relayout();
    resizeWindow(true);
    if (!error)
        return;
    m_singleShot(quickErrorDuration, this, [this, shown = *error] {
        if (m_quickError == shown)
            setQuickError(std::nullopt);
    });
}

bool ContentView::showsKeychainStatus() const
{
    return !m_keychainStatus->text().isEmpty();
}

// The latest refusal while it lasts, else why the keychain cannot be used, else nothing.
void ContentView::updateKeychainStatus()
{
    const bool shown = showsKeychainStatus();
    using Status = KeychainStore::Status;
    switch (m_keychainMessage ? Status::Available : m_store.keychainStatus()) {
    case Status::Locked:
        m_keychainStatus->setStatus(keychainLockedText, unlockAction);
        break;
    case Status::Unreachable:
        m_keychainStatus->setStatus(keychainUnreachableText, QString());
        break;
    case Status::NoDefaultKeyring:
        m_keychainStatus->setStatus(noDefaultKeyringText, createKeyringAction);
        break;
    case Status::Unknown:
    case Status::Available:
        m_keychainStatus->setStatus(m_keychainMessage.value_or(QString()), QString());
        break;
    }
    if (shown == showsKeychainStatus())
        return;
    relayout();
    resizeWindow(true);
}

void ContentView::showKeychainMessage(const QString &message)
{
    m_keychainMessage = message;
    updateKeychainStatus();
    m_singleShot(quickErrorDuration, this, [this, message] {
        if (m_keychainMessage != message)
            return;
        m_keychainMessage.reset();
        updateKeychainStatus();
    });
}

void ContentView::setShowingAdd(bool showing)
{
    if (showing == m_showingAdd)
        return;
    m_showingAdd = showing;
    if (showing) {
        setEditingAccount(std::nullopt); // one sheet at a time
        presentSheet(m_addSheet, new AddTokenView(m_store, window()), [this] { setShowingAdd(false); });
    } else {
        dismissSheet(m_addSheet);
    }
}

void ContentView::setEditingAccount(const std::optional<TokenAccount> &account)
{
    if (account == m_editingAccount)
        return;
    m_editingAccount = account;
    dismissSheet(m_editSheet);
    if (account) {
        setShowingAdd(false);
        presentSheet(m_editSheet, new EditTokenView(m_store, *account, window()),
                     [this] { setEditingAccount(std::nullopt); });
    }
}

QDialog *ContentView::presentedSheet() const
{
    return m_addSheet ? m_addSheet.data() : m_editSheet.data();
}

// A sheet that was dismissed or replaced finishes without touching the state that
// replaced it; one the user closed clears its state.
void ContentView::presentSheet(QPointer<QDialog> &slot, QDialog *sheet, std::function<void()> closed)
{
    slot = sheet;
    if (QWidget *focused = QApplication::focusWidget(); focused && focused->window() == window())
        m_focusBeforeSheet = focused;
    connect(sheet, &QDialog::finished, this, [this, &slot, sheet, closed = std::move(closed)] {
        sheet->deleteLater();
        if (slot != sheet)
            return;
        slot = nullptr;
        closed();
        restoreFocus();
    });
    sheet->open();
}

// Back from a sheet the panel takes the keys again, so Ctrl+1 works at once; the pointer
// may have left a row while the sheet had it.
void ContentView::restoreFocus()
{
    if (presentedSheet())
        return;
    window()->activateWindow();
    QWidget *target = m_focusBeforeSheet && m_focusBeforeSheet->isVisible() ? m_focusBeforeSheet.data() : focusTarget();
    target->setFocus(Qt::ActiveWindowFocusReason);
    m_list->syncHover();
}

QWidget *ContentView::focusTarget() const
{
    if (m_list->isVisibleTo(this))
        return m_list;
    if (m_quickEntry && m_quickEntry->isVisibleTo(this))
        return m_quickEntry->field();
    return m_header->addButton();
}

bool ContentView::clearFilter()
{
    if (m_list->filter().isEmpty())
        return false;
    m_list->setFilter(QString());
    return true;
}

// Keys no control took: typing goes to the rows' filter, Down and Up to the rows.
void ContentView::keyPressEvent(QKeyEvent *event)
{
    if (!m_list->isVisible())
        return QWidget::keyPressEvent(event);
    const bool arrow = (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) && !event->modifiers();
    if (arrow || m_list->typeToFilter(*event))
        m_list->setFocus(Qt::ShortcutFocusReason);
    else
        QWidget::keyPressEvent(event);
}

void ContentView::dismissSheet(QPointer<QDialog> &slot)
{
    if (QDialog *sheet = std::exchange(slot, nullptr))
        sheet->reject();
}

void ContentView::setReduceMotion(bool reduceMotion)
{
    m_reduceMotion = reduceMotion;
    m_list->setReduceMotion(reduceMotion);
}

void ContentView::accountsChanged()
{
    m_list->setAccounts(m_store.accounts());
    m_list->setCodes(m_store.codes());
    const qsizetype count = m_store.accounts().size();
    if (count == m_accountCount)
        return;
    m_accountCount = count;
    if (count == 0)
        clearFilter();
    relayout();
    resizeWindow(true);
}

void ContentView::pendingDeletionChanged()
{
    const auto &pending = m_store.pendingDeletion();
    if (pending)
        undoBar()->setAccountName(pending->account.name);
    const std::optional<QUuid> id = pending ? std::optional(pending->account.id) : std::nullopt;
    if (id == m_pendingID)
        return;
    m_pendingID = id;
    relayout();
    resizeWindow(true);
}

void ContentView::copy(const QString &codeText, const TokenAccount &account)
{
    if (!isCode(codeText))
        return;
    m_clipboard.copyCode(codeText, m_store.clipboardClearDelay());
    setCopiedAccountID(account.id);
    m_singleShot(copiedMarkDuration, this, [this, id = account.id] {
        if (m_copiedAccountID == id)
            setCopiedAccountID(std::nullopt);
    });
}

void ContentView::setCopiedAccountID(const std::optional<QUuid> &id)
{
    m_copiedAccountID = id;
    m_list->setCopiedAccount(id);
}

void ContentView::copyAccount(qint64 index)
{
    const auto &accounts = m_store.accounts();
    if (index < 0 || index >= accounts.size())
        return;
    const TokenAccount &account = accounts[index];
    copy(m_store.codes().value(account.id), account);
}

void ContentView::addQuickSecret(const QString &text)
{
    m_store.quickAdd(text, [view = QPointer(this), text](const std::expected<TokenAccount, StoreError> &added) {
        if (view)
            view->quickSecretAdded(text, added);
    });
}

// The secret is listed: the field empties and a pasted copy leaves the clipboard.
void ContentView::quickSecretAdded(const QString &text, const std::expected<TokenAccount, StoreError> &added)
{
    if (!added) {
        // A keychain refusal is not the user's typing: say what really went wrong, also where
        // the list hides the quick entry.
        setQuickError(added.error().isInvalidSecret() ? invalidSecretError : added.error().description());
        if (!added.error().isInvalidSecret() && !m_store.accounts().isEmpty())
            showKeychainMessage(added.error().description());
        return;
    }
    if (m_quickEntry)
        m_quickEntry->setText(QString());
    setQuickError(std::nullopt);
    m_clipboard.clearIfHolds(text);
}

void ContentView::pasteAndAdd()
{
    const std::optional<QString> text = m_clipboard.text();
    if (!text) {
        if (const std::optional<QImage> image = m_clipboard.image()) {
            addScanned(QrScanner::scanImage(*image));
            // Once the account is added, the code (and the secret it holds) leaves the clipboard.
            connect(m_addSheet, &QDialog::accepted, this, [this, image = *image] { m_clipboard.clearIfHolds(image); });
        } else {
            setQuickError(noClipboardTextError);
        }
        return;
    }
    addQuickSecret(*text);
}

// The add sheet shows the link, or why there is none.
void ContentView::addScanned(const std::expected<QString, TransferError> &link)
{
    setShowingAdd(true);
    static_cast<AddTokenView *>(m_addSheet.data())->showScanned(link);
}

void ContentView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasImage() || !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ContentView::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    event->acceptProposedAction();
    if (data->hasImage())
        addScanned(QrScanner::scanImage(qvariant_cast<QImage>(data->imageData())));
    else
        addScanned(QrScanner::scanFile(droppedFile(data)));
}

void ContentView::relayout()
{
    const int w = width();
    m_header->setGeometry(0, 0, w, headerHeight);
    const bool expanded = !m_collapsed;
    const bool empty = m_store.accounts().isEmpty();
    const QPointer<QWidget> focused = focusWidget();
    const bool undo = expanded && m_store.pendingDeletion();
    if (expanded && empty) {
        quickEntry();
        emptyState();
    }
    if (undo)
        undoBar();

    m_keychainStatus->setVisible(expanded && showsKeychainStatus());

    int y = headerHeight + dividerHeight;
    if (showsKeychainStatus()) {
        m_keychainStatus->setGeometry(0, y, w, statusLineHeight);
        y += statusLineHeight;
    }
    const int quick = m_quickError ? quickEntryErrorHeight : quickEntryHeight;
    place(m_quickEntry, expanded && empty, QRect(0, y, w, quick));
    place(m_emptyState, expanded && empty, QRect(0, y + quick, w, emptyStateHeight));
    if (empty) {
        y += quick + emptyStateHeight;
    } else {
        const int listHeight = tokenRowHeight * int(std::min<qsizetype>(m_store.accounts().size(), visibleRows));
        m_list->setGeometry(0, y, w, listHeight);
        y += listHeight;
    }
    m_list->setVisible(expanded && !empty);
    place(m_undoBar, undo, QRect(0, y + dividerHeight, w, undoBarHeight));
    // The quick entry gives way to the rows and back: the keys follow, rather than to
    // whichever button comes next.
    if (focused && !focused->isVisibleTo(this))
        focusTarget()->setFocus(Qt::OtherFocusReason);
    m_border->setGeometry(rect());
    m_border->raise();
    update();
}

void ContentView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QPainterPath interior;
    interior.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius - 1, cornerRadius - 1);
    m_bodyInterior = QRegion(interior.toFillPolygon().toPolygon());
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
    paintBody(painter, event->region());

    const QColor divider = Palette::faded(Palette::primary(Palette::isDark(palette())), 0.07f);
    if (!m_collapsed) {
        painter.fillRect(QRect(0, headerHeight, width(), dividerHeight), divider);
        if (m_undoBar && m_undoBar->isVisibleTo(this))
            painter.fillRect(QRect(0, m_undoBar->y() - dividerHeight, width(), dividerHeight), divider);
    }
}

// The rounded body: opaque at full opacity; otherwise a translucent backdrop, the base
// colour faded by the opacity setting and a faint blue tint, laid one over the other.
// Where no compositor runs the window cannot be translucent, so the backdrop is opaque
// there.
QColor ContentView::bodyColor() const
{
    const bool dark = Palette::isDark(palette());
    const QColor base = dark ? QColor::fromRgbF(0.10f, 0.105f, 0.12f) : QColor::fromRgbF(0.985f, 0.987f, 0.992f);
    const double opacity = m_store.panelOpacity();
    if (opacity >= 0.995)
        return base;
    const bool translucent = window()->testAttribute(Qt::WA_TranslucentBackground);
    const float t = float(std::clamp((opacity - 0.6) / 0.4, 0.0, 1.0));
    QColor color = translucent ? Palette::faded(base, 0.5f) : base; // stands in for the blur material
    color = over(Palette::faded(base, t), color);
    return over(Palette::faded(Palette::mistBlue(), dark ? 0.025f : 0.08f), color);
}

// `top` painted over `bottom`.
QColor ContentView::over(const QColor &top, const QColor &bottom)
{
    const float a = top.alphaF(), b = bottom.alphaF() * (1 - a), alpha = a + b;
    if (alpha <= 0)
        return Qt::transparent;
    const auto mix = [&](float x, float y) { return (x * a + y * b) / alpha; };
    return QColor::fromRgbF(mix(top.redF(), bottom.redF()), mix(top.greenF(), bottom.greenF()),
                            mix(top.blueF(), bottom.blueF()), alpha);
}

// Away from the rounded corners a rectangle fill does: a rolling code repaints its
// strip without drawing the whole outline.
void ContentView::paintBody(QPainter &painter, const QRegion &region)
{
    const QColor color = bodyColor();
    if (region.subtracted(m_bodyInterior).isEmpty()) {
        painter.fillRect(region.boundingRect(), color);
        return;
    }
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, color);
}
