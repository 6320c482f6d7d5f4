#pragma once

#include "ui/Glyphs.h"

#include <QWidget>

class GlyphLabel;
class QLabel;

// A sheet's top row: its glyph on a faint accent disc, beside a title and a subtitle.
class SheetHeader : public QWidget
{
    Q_OBJECT

public:
    SheetHeader(Glyph glyph, const QString &title, const QString &subtitle, QWidget *parent = nullptr);

    QString title() const;
    QString subtitle() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    GlyphLabel *m_icon;
    QLabel *m_title;
    QLabel *m_subtitle;
};
