#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "transfer/TransferError.h"

#include <QObject>
#include <QString>

#include <expected>
#include <optional>

class AddTokenView;
class CodeClipboard;
class QMimeData;
class QuickEntryView;
class QWidget;
class SheetPresenter;
class StoreError;
class TokenStore;

// The panel's ways to add an account without the add sheet's fields: a secret typed or pasted
// into the quick entry, the clipboard's text or QR code image, and an image or file dropped on
// the panel. A QR code opens the add sheet with the link it holds, for the person to confirm.
// The quick entry is built on first use: most launches never show it.
class AddFlows : public QObject
{
    Q_OBJECT

public:
    static QString noClipboardTextError() { return tr("剪贴板里没有文字。"); }
    static QString invalidSecretError() { return tr("这不像有效的 Base32 密钥，请检查后重试。"); }

    AddFlows(TokenStore &store, CodeClipboard &clipboard, SheetPresenter &sheets, SingleShot singleShot,
             QWidget &panel);

    QuickEntryView *quickEntry();
    // The quick entry if it was built.
    QuickEntryView *builtQuickEntry() const { return m_quickEntry; }

    // The quick entry's error line; a message goes by itself after 3 seconds unless another
    // replaced it.
    const std::optional<QString> &quickError() const { return m_quickError; }
    void setQuickError(const std::optional<QString> &error);

    void addQuickSecret(const QString &text);
    // A secret on the clipboard is added at once; a QR code image opens the add sheet.
    void pasteAndAdd();

protected:
    // Images and files dropped on the panel.
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    void quickErrorChanged();
    // The keychain refused a secret; said also where the list hides the quick entry.
    void keychainRefused(const QString &message);
    // The locked keyring refused the secret: it can be added again once it is unlocked.
    void lockedKeychainRefused(const QString &text);

private:
    void drop(const QMimeData &data);
    void quickAddFinished(const QString &text, const std::expected<TokenAccount, StoreError> &added);
    void addScanned(const std::expected<QString, TransferError> &link);
    void clearPastedLink(const AddTokenView &sheet);

    TokenStore &m_store;
    CodeClipboard &m_clipboard;
    SheetPresenter &m_sheets;
    SingleShot m_singleShot;
    QWidget &m_panel;
    QuickEntryView *m_quickEntry = nullptr;
    std::optional<QString> m_quickError;
};
