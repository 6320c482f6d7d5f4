#include "ui/DeleteButton.h"

#include "ui/Glyphs.h"
#include "ui/Palette.h"

#include <QPainter>

using namespace Qt::Literals::StringLiterals;

DeleteButton::DeleteButton(QWidget *parent) : QAbstractButton(parent)
{
    setFixedSize(size, size);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("删除这个验证码"));
}

QColor DeleteButton::glyphColor() const
{
    return m_rowHovered ? Palette::faded(Qt::red, 0.8f)
                        : Palette::faded(Palette::primary(Palette::isDark(palette())), 0.4f);
}

QColor DeleteButton::discColor() const
{
    return m_rowHovered ? Palette::faded(Qt::red, 0.075f)
                        : Palette::faded(Palette::primary(Palette::isDark(palette())), 0.035f);
}

void DeleteButton::setRowHovered(bool hovered)
{
    m_rowHovered = hovered;
    update();
}

void DeleteButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(discColor());
    painter.drawEllipse(QRectF(rect()));
    QRectF glyphRect(0, 0, 11, 11);
    glyphRect.moveCenter(QRectF(rect()).center());
    Glyphs::paint(painter, Glyph::Trash, glyphRect, glyphColor(), 1.5);
}
