#include "ui/EmptyStateView.h"

#include "ui/GlyphLabel.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

EmptyStateView::EmptyStateView(QWidget *parent)
    : QWidget(parent),
      m_icon(new GlyphLabel(Glyph::HandTap, 12, 1.5, 24)),
      m_subtitle(new QLabel(tr("点击验证码即可复制")))
{
    auto *title = new QLabel(tr("粘贴密钥，即刻生成"));
    title->setFont(panelFont(12, QFont::Medium));
    m_subtitle->setFont(panelFont(10));

    auto *lines = new QVBoxLayout;
    lines->setSpacing(2);
    // The band is taller than the two lines: keep them together in its middle.
    lines->addStretch();
    lines->addWidget(title);
    lines->addWidget(m_subtitle);
    lines->addStretch();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 0, 14, 0);
    row->setSpacing(8);
    row->addWidget(m_icon);
    row->addLayout(lines);
    row->addStretch();
    applyColors();
}

void EmptyStateView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void EmptyStateView::applyColors()
{
    const bool dark = Palette::isDark(palette());
    m_icon->setColor(Palette::accentColor(dark));
    QPalette subtitle = m_subtitle->palette();
    subtitle.setColor(QPalette::WindowText, Palette::secondary(dark));
    m_subtitle->setPalette(subtitle);
}
