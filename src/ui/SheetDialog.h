#pragma once

#include "ui/Glyphs.h"

#include <QDialog>
#include <QList>

#include <utility>

class AccentButton;
class QLabel;
class QPushButton;
class QVBoxLayout;
class SheetHeader;

// A window-modal sheet over the panel: a fixed width, the header row on top (none
// without a title), the sections its subclass adds, and "取消" (Escape) beside a primary
// button (Return). Its height follows the content.
class SheetDialog : public QDialog
{
    Q_OBJECT

public:
    enum class CaptionStyle { Secondary, Error };
    // Around the content, on every side.
    static constexpr int padding = 20;

    SheetDialog(int width, Glyph glyph, const QString &title, const QString &subtitle, const QString &primaryText,
                QWidget *parent = nullptr);

    // Null without a title.
    SheetHeader *header() const { return m_header; }
    QPushButton *cancelButton() const { return m_cancel; }
    AccentButton *primaryButton() const { return m_primary; }

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

    QVBoxLayout *m_layout;
    SheetHeader *m_header;
    QPushButton *m_cancel;
    AccentButton *m_primary;
    QList<std::pair<QLabel *, CaptionStyle>> m_captions;
};
