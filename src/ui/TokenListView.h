#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"

#include <QHash>
#include <QList>
#include <QScrollArea>

#include <functional>
#include <optional>

class QScrollBar;
class TokenRow;

// The scrolling list of account rows. Only the rows in view (and one either side) exist
// as widgets, so a long list costs no more than three rows.
//
// From the keyboard the list is one stop of the focus chain with a current row: Up and
// Down move it, Return or Ctrl+C copies it, Delete deletes it, F2 renames it, Ctrl+Up and
// Ctrl+Down move it in the list, and typed text filters the rows by name and issuer.
class TokenListView : public QScrollArea
{
    Q_OBJECT

public:
    explicit TokenListView(Clock clock, QWidget *parent = nullptr);

    void setAccounts(const QList<TokenAccount> &accounts);
    void setCodes(const QHash<QUuid, QString> &codes);
    void setCopiedAccount(const std::optional<QUuid> &id);
    void setReduceMotion(bool reduceMotion);
    // Rows then show their codes as dots while neither the pointer nor the keys are on them.
    void setCodesHidden(bool hidden);

    const QString &filter() const { return m_filter; }
    void setFilter(const QString &filter);
    // Adds typed text to the filter, or takes a character off with Backspace; false
    // for any other key.
    bool typeToFilter(const QKeyEvent &event);
    // The account the keys act on, among the rows the filter shows.
    std::optional<TokenAccount> currentAccount() const;
    // Makes the account's row the current one and scrolls it into view, if the filter shows it.
    void showAccount(const QUuid &id);
    // How many accounts the filter lets through.
    qsizetype shownCount() const { return m_shown.size(); }
    // The account of the shown row at `index`, counted from the top of the filtered list.
    std::optional<TokenAccount> shownAccount(qsizetype index) const;
    // While held (an import adding batch after batch) the rows keep their place; released, the
    // list shows the first account added meanwhile.
    void holdPosition(bool hold);
    // Rows the pointer left while another window had it stop looking hovered.
    void syncHover();

    // Ctrl+Return and the rows' menus type codes into the previous window; `note` says why
    // they cannot, when they cannot.
    void setTypingNote(std::function<QString()> note);

    // The row widget showing the account, when it is in view.
    TokenRow *rowFor(const QUuid &id) const;
    int builtRowCount() const;
    QScrollBar *scrollBar() const { return m_scrollBar; }

Q_SIGNALS:
    void copyRequested(const QString &codeText, const TokenAccount &account);
    void renameRequested(const TokenAccount &account);
    void qrCodeRequested(const TokenAccount &account);
    void moveRequested(const TokenAccount &account, qint64 by);
    // The accounts whose rows are laid out (on screen or next to it) changed.
    void rowsShown(const QList<QUuid> &ids);
    void deleteRequested(const TokenAccount &account);
    void typeRequested(const TokenAccount &account);
    void dropRequested(const QUuid &dragged, const QUuid &target);
    void filterChanged(const QString &filter);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    static QUuid firstNew(const QList<TokenAccount> &before, const QList<TokenAccount> &after);
    TokenRow *newRow();
    void showMenuOfCurrent();
    // Filters the accounts again; a current row the filter hides gives way to the row
    // now at `fallback`.
    void applyFilter(qsizetype fallback);
    bool actOnCurrent(const QKeyEvent &event);
    void setCurrent(qsizetype index);
    qsizetype currentIndex() const;
    void revealCurrent();
    void layoutRows();
    void placeScrollBar();

    QList<TokenAccount> m_accounts;
    // The accounts the filter lets through, in list order.
    QList<TokenAccount> m_shown;
    QList<QUuid> m_laidOut;
    QString m_filter;
    std::optional<QUuid> m_current;
    bool m_held = false;
    std::optional<QUuid> m_firstAddedWhileHeld;
    // The focus came from the keyboard, so the current row shows its ring.
    bool m_focusVisible = false;
    QHash<QUuid, QString> m_codes;
    std::optional<QUuid> m_copied;
    bool m_reduceMotion = false;
    bool m_codesHidden = false;
    std::function<QString()> m_typingNote;
    Clock m_clock;
    QWidget *m_container;
    // Drawn over the rows' right padding, so a long list does not narrow them.
    QScrollBar *m_scrollBar;
    QList<TokenRow *> m_rows;
};
