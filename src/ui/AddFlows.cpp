#include "ui/AddFlows.h"

#include "store/TokenStore.h"
#include "ui/AddTokenView.h"
#include "ui/CodeClipboard.h"
#include "ui/QrScanner.h"
#include "ui/QuickEntryView.h"
#include "ui/SheetPresenter.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

namespace {

constexpr std::chrono::milliseconds quickErrorDuration(3000);

// The local file of a drop that carries one, else empty.
QString droppedFile(const QMimeData &data)
{
    const QList<QUrl> urls = data.urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

} // namespace

AddFlows::AddFlows(TokenStore &store, CodeClipboard &clipboard, SheetPresenter &sheets, SingleShot singleShot,
                   QWidget &panel)
    : QObject(&panel),
      m_store(store),
      m_clipboard(clipboard),
      m_sheets(sheets),
      m_singleShot(std::move(singleShot)),
      m_panel(panel)
{
    panel.setAcceptDrops(true);
    panel.installEventFilter(this);
    connect(&sheets, &SheetPresenter::addSheetPresented, this, [this](AddTokenView *sheet) {
        connect(sheet, &QDialog::accepted, this, [this, sheet] { clearPastedLink(*sheet); });
    });
}

QuickEntryView *AddFlows::quickEntry()
{
    if (m_quickEntry)
        return m_quickEntry;
    m_quickEntry = new QuickEntryView(&m_panel);
    m_quickEntry->setError(m_quickError);
    connect(m_quickEntry, &QuickEntryView::submitted, this, &AddFlows::addQuickSecret);
    connect(m_quickEntry, &QuickEntryView::pasteRequested, this, &AddFlows::pasteAndAdd);
    connect(m_quickEntry, &QuickEntryView::textEdited, this, [this](const QString &text) {
        if (!text.isEmpty())
            setQuickError(std::nullopt);
    });
    return m_quickEntry;
}

void AddFlows::setQuickError(const std::optional<QString> &error)
{
    if (error == m_quickError)
        return;
    m_quickError = error;
    if (m_quickEntry)
        m_quickEntry->setError(error);
    Q_EMIT quickErrorChanged();
    if (!error)
        return;
    m_singleShot(quickErrorDuration, this, [this, shown = *error] {
        if (m_quickError == shown)
            setQuickError(std::nullopt);
    });
}

void AddFlows::addQuickSecret(const QString &text)
{
    m_store.quickAdd(text, [self = QPointer(this), text](const std::expected<TokenAccount, StoreError> &added) {
        if (self)
            self->quickAddFinished(text, added);
    });
}

// The secret is listed: the field empties and a pasted copy leaves the clipboard.
void AddFlows::quickAddFinished(const QString &text, const std::expected<TokenAccount, StoreError> &added)
{
    if (!added) {
        // A keychain refusal is not the person's typing: say what really went wrong, also where
        // the list hides the quick entry.
        const bool invalid = added.error().isInvalidSecret();
        setQuickError(invalid ? invalidSecretError() : added.error().description());
        if (added.error().isKeychainLocked())
            Q_EMIT lockedKeychainRefused(text);
        else if (!invalid && !m_store.accounts().isEmpty())
            Q_EMIT keychainRefused(added.error().description());
        return;
    }
    if (m_quickEntry)
        m_quickEntry->setText(QString());
    setQuickError(std::nullopt);
    m_clipboard.clearIfHolds(text);
}

void AddFlows::pasteAndAdd()
{
    if (const std::optional<QString> text = m_clipboard.text()) {
        addQuickSecret(*text);
    } else if (const std::optional<QImage> image = m_clipboard.image()) {
        addScanned(QrScanner::scanImage(*image));
        // Once the account is added, the code (and the secret it holds) leaves the clipboard.
        connect(m_sheets.addSheet(), &QDialog::accepted, this,
                [this, image = *image] { m_clipboard.clearIfHolds(image); });
    } else {
        setQuickError(noClipboardTextError());
    }
}

// A link added from the sheet leaves the clipboard, as a pasted secret does: it holds the secret too.
void AddFlows::clearPastedLink(const AddTokenView &sheet)
{
    const QString link = sheet.linkField()->text().trimmed();
    const std::optional<QString> text = m_clipboard.text();
    if (!link.isEmpty() && text && text->trimmed() == link)
        m_clipboard.clearIfHolds(*text);
}

bool AddFlows::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_panel)
        return false;
    if (event->type() == QEvent::DragEnter) {
        auto *drag = static_cast<QDragEnterEvent *>(event);
        if (drag->mimeData()->hasImage() || !droppedFile(*drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto *dropped = static_cast<QDropEvent *>(event);
        dropped->acceptProposedAction();
        drop(*dropped->mimeData());
        return true;
    }
    return false;
}

void AddFlows::drop(const QMimeData &data)
{
    if (data.hasImage())
        addScanned(QrScanner::scanImage(qvariant_cast<QImage>(data.imageData())));
    else
        addScanned(QrScanner::scanFile(droppedFile(data)));
}

// The add sheet shows the link, or why there is none.
void AddFlows::addScanned(const std::expected<QString, TransferError> &link)
{
    m_sheets.setShowingAdd(true);
    m_sheets.addSheet()->showScanned(link);
}
