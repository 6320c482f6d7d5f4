#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "ui/CopyMark.h"
#include "ui/RollingCode.h"
#include "ui/RowAction.h"
#include "ui/RowGeometry.h"

#include <QWidget>

#include <functional>

class DeleteButton;
class TokenProgressView;
class QMenu;
class QToolButton;

// One account in the panel: title line, current code, copy mark, delete button and
// countdown bar; a counter-based account has a next-code button instead of the bar. A click
// on the code area copies; the row drags as its account's id and takes drops of other rows'
// ids. Its parts go where RowGeometry puts them.
class TokenRow : public QWidget
{
    Q_OBJECT

public:
    explicit TokenRow(Clock clock, QWidget *parent = nullptr);

    // `code` is absent while the store has none. First and last decide the menu's moves;
    // rows below the first draw a separator on their top edge.
    void setAccount(const TokenAccount &account, bool first, bool last);
    void setCode(const std::optional<QString> &code);
    void setCopied(bool copied);
    void setReduceMotion(bool reduceMotion);
    // Why codes cannot be typed into the previous window, asked as the menu opens; empty when
    // they can. Without one the menu offers no typing.
    void setTypingNote(std::function<QString()> note) { m_typingNote = std::move(note); }
    // The ring of the list's current row while the list has the keyboard focus.
    void setFocusRing(bool shown);
    // Hidden codes show as dots, but for the row under the pointer and the ringed row.
    void setCodeHidden(bool hidden);
    // Hovered exactly while the pointer is over the row, whatever happened meanwhile.
    void syncHover();

    const TokenAccount &account() const { return m_account; }
    // The code text: the code, or the placeholder.
    const QString &codeText() const { return m_code.text(); }
    bool isHovered() const { return m_hovered; }
    bool isCopied() const { return m_mark.isCopied(); }
    bool hasFocusRing() const { return m_focusRing; }
    bool showsCode() const { return !m_codeHidden || m_hovered || m_focusRing; }
    // The context menu, shown without blocking; it deletes itself when closed.
    QMenu *showContextMenu(const QPoint &globalPos);
    QRect copyArea() const { return m_geometry.copyArea; }
    // Where the code is drawn.
    QRect codeArea() const { return m_geometry.code.toAlignedRect(); }
    // Shown on counter-based rows only.
    QToolButton *nextCodeButton() const { return m_nextCode; }

Q_SIGNALS:
    // `dropped`: for DropOnto, the id of the row dropped on this one.
    void actionRequested(RowAction action, const TokenAccount &account, const QUuid &dropped = {});

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void request(RowAction action, const QUuid &dropped = {});
    bool isDark() const;
    void setHovered(bool hovered);
    void updateAccessibleText();
    // Places the children and the drawn parts for the row's width and kind of account.
    void place();
    void colorNextCode();

    TokenAccount m_account{};
    bool m_first = true;
    bool m_last = true;
    bool m_hovered = false;
    bool m_focusRing = false;
    bool m_codeHidden = false;
    bool m_reduceMotion = false;
    std::function<QString()> m_typingNote;
    DeleteButton *m_delete;
    TokenProgressView *m_progress;
    QToolButton *m_nextCode;
    RowGeometry m_geometry;
    RollingCode m_code;
    CopyMark m_mark;
};
