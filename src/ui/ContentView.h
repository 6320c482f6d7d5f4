#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "transfer/TransferError.h"

#include <QPointer>
#include <QRegion>
#include <QSizeF>
#include <QTimer>
#include <QWidget>

#include <expected>
#include <functional>
#include <optional>

class CodeClipboard;
class EmptyStateView;
class KeychainStatusView;
class PanelBorder;
class PanelHeader;
class PanelNotifications;
class QDialog;
class QuickEntryView;
class StoreError;
class TokenListView;
class TokenStore;
class UndoBar;

// The floating panel's content: header, account list or quick entry, undo bar. It owns
// the panel's transient state, keeps the codes current on a half-second timer and asks
// for the panel's size whenever what it shows changes.
class ContentView : public QWidget
{
    Q_OBJECT

public:
    static inline const QString noClipboardTextError = QStringLiteral(u"剪贴板里没有文字。");
    static inline const QString invalidSecretError = QStringLiteral(u"这不像有效的 Base32 密钥，请检查后重试。");
    static inline const QString keychainLockedText = QStringLiteral(u"钥匙串已锁定");
    static inline const QString unlockAction = QStringLiteral(u"解锁");
    static inline const QString keychainUnreachableText = QStringLiteral(u"无法连接钥匙串服务，稍后自动重试");
    static inline const QString noDefaultKeyringText = QStringLiteral(u"没有默认钥匙串");
    static inline const QString createKeyringAction = QStringLiteral(u"创建");
    static inline const QString unlockAndAddAction = QStringLiteral(u"解锁并添加");

    ContentView(TokenStore &store, CodeClipboard &clipboard, PanelNotifications &notifications, Clock clock,
                SingleShot singleShot = systemSingleShot, QWidget *parent = nullptr);
    ~ContentView() override;

    // The height the panel must have for what it shows now.
    int panelHeight() const;

    bool isCollapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed);
    const std::optional<QString> &quickError() const { return m_quickError; }
    void setQuickError(const std::optional<QString> &error);
    const std::optional<QUuid> &copiedAccountID() const { return m_copiedAccountID; }
    bool showingAdd() const { return m_showingAdd; }
    void setShowingAdd(bool showing);
    const std::optional<TokenAccount> &editingAccount() const { return m_editingAccount; }
    void setEditingAccount(const std::optional<TokenAccount> &account);
    void setReduceMotion(bool reduceMotion);

    // Copies an all-digit code and clears the clipboard again after the chosen delay.
    void copy(const QString &codeText, const TokenAccount &account);
    // The shortcut path: copies the code of the row at `index`, if there is one.
    void copyAccount(qint64 index);
    void addQuickSecret(const QString &text);
    // A secret on the clipboard is added at once; a QR code image opens the add sheet
    // with the link it holds, for the person to confirm.
    void pasteAndAdd();
    // Empties the rows' filter; false when there was none.
    bool clearFilter();

    PanelHeader *header() const { return m_header; }
    QuickEntryView *quickEntry();
    EmptyStateView *emptyState();
    TokenListView *list() const { return m_list; }
    UndoBar *undoBar();
    KeychainStatusView *keychainStatus() const { return m_keychainStatus; }
    // The add or rename sheet on show, if any.
    QDialog *presentedSheet() const;

Q_SIGNALS:
    // Asked on the next turn of the event loop, with the size as it was when asked.
    void sizeRequested(const QSizeF &size, bool animated);
    void windowAlphaResetRequested();
    void quitRequested();
    void exportRequested();
    void importRequested();
    void qrCodeRequested(const TokenAccount &account);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void connectStore();
    void connectSections();
    void appear();
    void resizeWindow(bool animated);
    void relayout();
    void accountsChanged();
    void pendingDeletionChanged();
    void quickSecretAdded(const QString &text, const std::expected<TokenAccount, StoreError> &added);
    void showKeychainMessage(const QString &message);
    void retryLockedAdd();
    void updateKeychainStatus();
    bool showsKeychainStatus() const;
    void setCopiedAccountID(const std::optional<QUuid> &id);
    void addScanned(const std::expected<QString, TransferError> &link);
    QColor bodyColor() const;
    static QColor over(const QColor &top, const QColor &bottom);
    void paintBody(QPainter &painter, const QRegion &region);
    void presentSheet(QPointer<QDialog> &slot, QDialog *sheet, std::function<void()> closed);
    static void dismissSheet(QPointer<QDialog> &slot);
    // Where the keys go when nothing in the panel has asked for them.
    QWidget *focusTarget() const;
    void restoreFocus();

    TokenStore &m_store;
    CodeClipboard &m_clipboard;
    Clock m_clock;
    SingleShot m_singleShot;

    PanelHeader *m_header;
    QuickEntryView *m_quickEntry = nullptr;
    EmptyStateView *m_emptyState = nullptr;
    TokenListView *m_list;
    UndoBar *m_undoBar = nullptr;
    PanelBorder *m_border;
    KeychainStatusView *m_keychainStatus;

    bool m_appeared = false;
    bool m_collapsed = false;
    bool m_showingAdd = false;
    bool m_reduceMotion = false;
    std::optional<QString> m_quickError;
    // What the keychain refused the person just now, shown for a while in the status line.
    std::optional<QString> m_keychainMessage;
    // The text of an add the locked keyring refused, and whether the person asked to unlock and add it.
    std::optional<QString> m_lockedAdd;
    bool m_retryLockedAdd = false;
    std::optional<QUuid> m_copiedAccountID;
    std::optional<TokenAccount> m_editingAccount;
    qsizetype m_accountCount = 0;
    std::optional<QUuid> m_pendingID;
    // The size asked for and not yet delivered, with its animation flag.
    std::optional<std::pair<QSizeF, bool>> m_requestedSize;
    QTimer m_codeTimer;
    // Where the body is a plain rectangle fill, inside its rounded outline.
    QRegion m_bodyInterior;
    QPointer<QDialog> m_addSheet;
    QPointer<QDialog> m_editSheet;
    QPointer<QWidget> m_focusBeforeSheet;
};
