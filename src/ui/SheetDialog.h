#pragma once

#include "ui/Glyphs.h"

#include <QDialog>
#include <QList>

#include <utility>

class AccentButton;
class QLabel;
class QHBoxLayout;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class SheetHeader;

// A window-modal sheet over the panel: a fixed width, the header row on top (none
// without a title), the sections its subclass adds, and "取消" (Escape) beside a primary
// button (Return). Its height follows the content, up to the room on the screen it opens on
// (less a title bar): past that the content scrolls above the buttons, which stay in view.
class SheetDialog : public QDialog
{
    Q_OBJECT

public:
    enum class CaptionStyle { Secondary, Error };
    // Around the content, on every side.
    static constexpr int padding = 20;
    // Kept free above a sheet for the window manager's title bar.
    static constexpr int titleBarAllowance = 40;

    SheetDialog(int width, Glyph glyph, const QString &title, const QString &subtitle, const QString &primaryText,
                QWidget *parent = nullptr);

    // Null without a title.
    SheetHeader *header() const { return m_header; }
    QPushButton *cancelButton() const { return m_cancel; }
    AccentButton *primaryButton() const { return m_primary; }
    QScrollArea *scrollArea() const { return m_scroll; }

protected:
    // Adds a section below the previous ones, above the buttons. The buttons joined the
    // dialog first, so Tab reaches them after the sections but the dialog would start on
    // them: subclasses give the focus to their first field.
    void addSection(QWidget *section);
    QLabel *addCaption(CaptionStyle style, const QString &text = QString());
    void fitHeight();

    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();
    int heightLimit() const;

    QScrollArea *m_scroll;
    // The header and the sections, inside the scroll area.
    QVBoxLayout *m_layout;
    QHBoxLayout *m_buttons;
    SheetHeader *m_header;
    QPushButton *m_cancel;
    AccentButton *m_primary;
    QList<std::pair<QLabel *, CaptionStyle>> m_captions;
};
