#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "ui/AccountFilter.h"
#include "ui/RowAction.h"

#include <QHash>
#include <QList>
#include <QScrollArea>

#include <functional>
#include <optional>

class OverlayScrollBar;
class RowPool;
class TokenRow;

// The scrolling list of account rows, showing what its AccountFilter lets through. Only the
// rows in view (and one either side) exist as widgets, so a long list costs no more than
// three rows.
//
// From the keyboard the list is one stop of the focus chain with a current row: Up and
// Down move it, Return or Ctrl+C copies it, Delete deletes it, F2 renames it, Ctrl+Up and
// Ctrl+Down move it in the list, the Menu key or Shift+F10 opens its menu (ListKey maps
// them), and typed text filters the rows by name and issuer.
class TokenListView : public QScrollArea
{
    Q_OBJECT

public:
    // While one lives, changes to the list only mark its rows for laying out; they are laid
    // out once, when the last one ends.
    class Batch
    {
    public:
        explicit Batch(TokenListView &list);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        TokenListView &m_list;
    };

    explicit TokenListView(Clock clock, QWidget *parent = nullptr);

    void setAccounts(const QList<TokenAccount> &accounts, const QList<AccountGroup> &groups = {});
    void setCodes(const QHash<QUuid, QString> &codes);
    void setCopiedAccount(const std::optional<QUuid> &id);
    void setReduceMotion(bool reduceMotion);
    // Ctrl+Return and the rows' menus type codes into the previous window; `note` says why
    // they cannot, when they cannot. Without one Ctrl+Return copies.
    void setTypingNote(const std::function<QString()> &note);
    // Rows then show their codes as dots while neither the pointer nor the keys are on them.
    void setCodesHidden(bool hidden);

    const AccountFilter &filter() const { return m_filter; }
    void setFilter(const QString &term);
    // Adds typed text to the filter, or takes a character off with Backspace; false
    // for any other key.
    bool typeToFilter(const QKeyEvent &event);
    // While held (an import adding batch after batch) the rows keep their place; released, the
    // list shows the first account added meanwhile.
    void holdPosition(bool hold);
    // Rows the pointer left while another window had it stop looking hovered.
    void syncHover();

    // The row widget showing the account, when it is in view.
    TokenRow *rowFor(const QUuid &id) const;
    int builtRowCount() const;
    QScrollBar *scrollBar() const;

Q_SIGNALS:
    // Asked of a row by a click, its menu, a drop on it or the list's keys. `dropped`: for
    // DropOnto, the id of the row dropped on it.
    void rowAction(RowAction action, const TokenAccount &account, const QUuid &dropped);
    // The accounts whose rows are laid out (on screen or next to it) changed.
    void rowsShown(const QList<QUuid> &ids);
    void filterChanged(const QString &term);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    // Makes the account's row the current one and scrolls it into view, if the filter shows it.
    void showAccount(const std::optional<QUuid> &id);
    void showMenuOfCurrent();
    // After the shown accounts changed.
    void filtered();
    bool actOnCurrent(const QKeyEvent &event);
    void revealCurrent();
    // Lays the rows out now, or when the batch in progress ends.
    void layoutRows();

    AccountFilter m_filter;
    QList<QUuid> m_laidOut;
    int m_batches = 0;
    bool m_layoutDue = false;
    // The focus came from the keyboard, so the current row shows its ring.
    bool m_focusVisible = false;
    bool m_typingOffered = false;
    QWidget *m_container;
    RowPool *m_rows;
    OverlayScrollBar *m_scrollBar;
};
