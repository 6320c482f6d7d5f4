#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "ui/CodeImages.h"

#include <QImage>
#include <QVariantAnimation>
#include <QWidget>

#include <array>
#include <functional>

class DeleteButton;
class TokenProgressView;
class QMenu;
class QToolButton;

// One account in the panel: title line, current code, copy mark, delete button and
// countdown bar; a counter-based account has a next-code button instead of the bar. A click on the code area copies;
// the row drags as its account's id and takes drops of other rows' ids.
class TokenRow : public QWidget
{
    Q_OBJECT

public:
    static inline const QString placeholder = QStringLiteral(u"—— ——");

    explicit TokenRow(Clock clock, QWidget *parent = nullptr);

    // `code` is absent while the store has none. First and last decide the menu's moves;
    // rows below the first draw a separator on their top edge.
    void setAccount(const TokenAccount &account, bool first, bool last);
    void setCode(const std::optional<QString> &code);
    void setCopied(bool copied);
    void setReduceMotion(bool reduceMotion);
    // The ring of the list's current row while the list has the keyboard focus.
    void setFocusRing(bool shown);
    // Hidden codes show as dots, but for the row under the pointer and the ringed row.
    void setCodeHidden(bool hidden);
    // Hovered exactly while the pointer is over the row, whatever happened meanwhile.
    void syncHover();

    const TokenAccount &account() const { return m_account; }
    // The code text: the code, or the placeholder.
    QString codeText() const { return m_codeText; }
    // The code as shown: six to eight digits in two groups, anything else as it is.
    static QString shownCode(const QString &codeText, bool steam);
    static QString titleLine(const TokenAccount &account);
    bool isHovered() const { return m_hovered; }
    bool isCopied() const { return m_copied; }
    bool hasFocusRing() const { return m_focusRing; }
    bool showsCode() const { return !m_codeHidden || m_hovered || m_focusRing; }
    // The shown code with every digit or letter a dot, so that it keeps its place and width.
    static QString maskedCode(const QString &shown);
    // Why codes cannot be typed into the previous window, asked as the menu opens; empty when
    // they can. Without one the menu offers no typing.
    void setTypingNote(std::function<QString()> note) { m_typingNote = std::move(note); }
    // The context menu, shown without blocking; it deletes itself when closed.
    QMenu *showContextMenu(const QPoint &globalPos);
    // Where a click copies: the main line left of the delete button.
    QRect copyArea() const;
    // Where the code is drawn.
    QRect codeArea() const { return lines().code.toAlignedRect(); }
    // Shown on counter-based rows only.
    QToolButton *nextCodeButton() const { return m_nextCode; }

Q_SIGNALS:
    void copyRequested(const QString &codeText, const TokenAccount &account);
    void renameRequested(const TokenAccount &account);
    void qrCodeRequested(const TokenAccount &account);
    void moveRequested(const TokenAccount &account, qint64 by);
    void deleteRequested(const TokenAccount &account);
    void typeRequested(const TokenAccount &account);
    // Another row's id was dropped on this one.
    void dropRequested(const QUuid &dragged, const QUuid &target);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool isDark() const;
    void setHovered(bool hovered);
    void updateAccessibleText();
    // The fonts and places of the title and code lines.
    struct Lines
    {
        QFont titleFont;
        QFont codeFont;
        QRectF title;
        QRectF code;
    };
    Lines lines() const;
    void paintCode(QPainter &painter, const QString &shown, qreal y, qreal opacity) const;
    void paintCopyMark(QPainter &painter) const;
    QRectF copyMarkRect() const;
    QRect copyMarkArea() const;
    void startDrag();
    void placeNextCode();
    void colorNextCode();

    TokenAccount m_account{};
    bool m_first = true;
    bool m_last = true;
    std::function<QString()> m_typingNote;
    QString m_codeText = placeholder;
    QString m_previousCodeText;
    bool m_copied = false;
    bool m_hovered = false;
    bool m_focusRing = false;
    bool m_codeHidden = false;
    bool m_reduceMotion = false;
    std::optional<QPoint> m_pressPos;
    DeleteButton *m_delete;
    TokenProgressView *m_progress;
    QToolButton *m_nextCode;
    // The current and the previous code as drawn, for painting and rolling.
    mutable CodeImages m_codeImages;
    QVariantAnimation m_codeRoll;
    QVariantAnimation m_markScale;
};
