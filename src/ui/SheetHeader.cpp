#include "ui/SheetHeader.h"

#include "ui/GlyphLabel.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int iconFrame = 30;
constexpr qreal glyphSize = 12;
constexpr qreal semiboldLine = 1.75;

} // namespace

SheetHeader::SheetHeader(Glyph glyph, const QString &title, const QString &subtitle, QWidget *parent)
    : QWidget(parent),
      m_icon(new GlyphLabel(glyph, glyphSize, semiboldLine, iconFrame)),
      m_title(new QLabel(title)),
      m_subtitle(new QLabel(subtitle))
{
    m_title->setFont(panelFont(17, QFont::DemiBold));
    m_subtitle->setFont(panelFont(11));
    m_subtitle->setWordWrap(true); // whole in every language, at the sheet's width

    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(2);
    texts->addWidget(m_title);
    texts->addWidget(m_subtitle);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    row->addWidget(m_icon, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    applyColors();
}

QString SheetHeader::title() const
{
    return m_title->text();
}

QString SheetHeader::subtitle() const
{
    return m_subtitle->text();
}

void SheetHeader::applyColors()
{
    const bool dark = Palette::isDark(palette());
    m_icon->setColor(Palette::accentColor(dark));
    QPalette subtitle = m_subtitle->palette();
    subtitle.setColor(QPalette::WindowText, Palette::secondary(dark));
    m_subtitle->setPalette(subtitle);
    update();
}

void SheetHeader::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void SheetHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor disc = Palette::accentColor(Palette::isDark(palette()));
    disc.setAlphaF(0.11f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(m_icon->geometry()));
}
