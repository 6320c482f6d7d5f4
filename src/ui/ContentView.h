#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "ui/PanelFocus.h"
#include "ui/PanelLayout.h"
#include "ui/RowAction.h"

#include <QSizeF>
#include <QTimer>
#include <QWidget>

#include <optional>

class AddFlows;
class CodeClipboard;
class CodeCopier;
class EmptyStateView;
class KeychainStatusPresenter;
class KeychainStatusView;
class PanelBorder;
class PanelHeader;
class SheetPresenter;
class TokenListView;
class TokenStore;
class UndoBar;

// The floating panel's content: header, account list or quick entry, undo bar. It builds
// and wires the sections and the presenters that hold the panel's transient state (sheets:
// SheetPresenter; adds and the quick entry's error: AddFlows; the copied row: CodeCopier;
// the keys' target: PanelFocus; the filter and the current row: the list's AccountFilter),
// carries out what is asked of a row, keeps the codes current on a half-second timer and
// asks for the panel's size whenever what it shows changes.
class ContentView : public QWidget
{
    Q_OBJECT

public:
    ContentView(TokenStore &store, CodeClipboard &clipboard, Clock clock, SingleShot singleShot = systemSingleShot,
                QWidget *parent = nullptr);

    // The height the panel must have for what it shows now.
    int panelHeight() const { return layout().height; }

    bool isCollapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed);
    void setReduceMotion(bool reduceMotion);
    // Copies the code of the shown row at `index` (Ctrl+1..3): a filter changes which account
    // each copies.
    void copyShownRow(int index);
    // Empties the rows' filter; false when there was none.
    bool clearFilter() { return m_focus.clearFilter(); }

    SheetPresenter &sheets() const { return *m_sheets; }
    AddFlows &addFlows() const { return *m_addFlows; }
    CodeCopier &copier() const { return *m_copier; }
    PanelHeader *header() const { return m_header; }
    EmptyStateView *emptyState();
    TokenListView *list() const { return m_list; }
    UndoBar *undoBar();
    KeychainStatusView *keychainStatus() const { return m_keychainStatus; }
    KeychainStatusPresenter *statusPresenter() const { return m_keychainPresenter; }

Q_SIGNALS:
    // Asked on the next turn of the event loop, with the size as it was when asked.
    void sizeRequested(const QSizeF &size, bool animated);
    void windowAlphaResetRequested();
    void quitRequested();
    void exportRequested();
    void importRequested();
    void qrCodeRequested(const TokenAccount &account);
    void typeRequested(const TokenAccount &account);

protected:
    void showEvent(QShowEvent *event) override;
    // A counter-based code shown stays until the panel hides.
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void connectSections();
    void actOnRow(RowAction action, const TokenAccount &account, const QUuid &dropped);
    // Where the sections go for what the panel shows now.
    PanelLayout layout() const;
    void resizeWindow(bool animated);
    void relayout();
    // Lays the panel out again and asks for its new size.
    void reshape();
    void accountsChanged();
    void pendingDeletionChanged();

    TokenStore &m_store;
    Clock m_clock;

    PanelHeader *m_header;
    EmptyStateView *m_emptyState = nullptr;
    TokenListView *m_list;
    UndoBar *m_undoBar = nullptr;
    PanelBorder *m_border;
    KeychainStatusView *m_keychainStatus;
    KeychainStatusPresenter *m_keychainPresenter;
    SheetPresenter *m_sheets;
    AddFlows *m_addFlows;
    CodeCopier *m_copier;
    PanelFocus m_focus;

    bool m_appeared = false;
    bool m_collapsed = false;
    qsizetype m_accountCount = 0;
    std::optional<QUuid> m_pendingID;
    // The size asked for and not yet delivered, with its animation flag.
    std::optional<std::pair<QSizeF, bool>> m_requestedSize;
    QTimer m_codeTimer;
    PanelLayout m_layout;
};
