#include "ui/SheetDialog.h"

#include "ui/AccentButton.h"
#include "ui/DialogWindow.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"
#include "ui/SheetHeader.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int spacing = 16;
constexpr int captionSize = 11;

QColor errorRed(bool dark)
{
    return dark ? QColor::fromRgbF(1.0f, 0.27f, 0.23f) : QColor::fromRgbF(1.0f, 0.23f, 0.19f);
}

} // namespace

SheetDialog::SheetDialog(int width, Glyph glyph, const QString &title, const QString &subtitle,
                         const QString &primaryText, QWidget *parent)
    : QDialog(parent, dialogWindowFlags),
      m_layout(new QVBoxLayout(this)),
      m_header(title.isEmpty() ? nullptr : new SheetHeader(glyph, title, subtitle)),
      m_cancel(new QPushButton(tr("取消"))),
      m_primary(new AccentButton(primaryText))
{
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setFixedWidth(width);
    m_layout->setContentsMargins(padding, padding, padding, padding);
    m_layout->setSpacing(spacing);
    if (m_header)
        m_layout->addWidget(m_header);

    // Return presses the primary button wherever the focus is, "取消" included.
    m_cancel->setAutoDefault(false);
    m_primary->setAutoDefault(false);
    m_primary->setDefault(true);
    m_cancel->setFixedHeight(m_primary->sizeHint().height());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_primary);
    m_layout->addLayout(buttons);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SheetDialog::addSection(QWidget *section)
{
    m_layout->insertWidget(m_layout->count() - 1, section);
}

QLabel *SheetDialog::addCaption(CaptionStyle style, const QString &text)
{
    auto *caption = new QLabel(text);
    caption->setFont(panelFont(captionSize, style == CaptionStyle::Secondary ? QFont::Medium : QFont::Normal));
    caption->setWordWrap(true);
    m_captions.append({caption, style});
    addSection(caption);
    applyColors();
    return caption;
}

void SheetDialog::applyColors()
{
    const bool dark = Palette::isDark(palette());
    for (const auto &[caption, style] : std::as_const(m_captions)) {
        QPalette colors = caption->palette();
        colors.setColor(QPalette::WindowText,
                        style == CaptionStyle::Secondary ? Palette::secondary(dark) : errorRed(dark));
        caption->setPalette(colors);
    }
}

// The width stays fixed; a wrapped caption may need more height at that width.
void SheetDialog::fitHeight()
{
    m_layout->activate();
    setFixedHeight(m_layout->hasHeightForWidth() ? m_layout->totalHeightForWidth(width())
                                                 : m_layout->totalSizeHint().height());
}

void SheetDialog::showEvent(QShowEvent *event)
{
    fitHeight(); // before the dialog centres itself over the panel
    QDialog::showEvent(event);
}

void SheetDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}
