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
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

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
      m_scroll(new QScrollArea),
      m_layout(new QVBoxLayout(new QWidget)),
      m_buttons(new QHBoxLayout),
      m_header(title.isEmpty() ? nullptr : new SheetHeader(glyph, title, subtitle)),
      m_cancel(new QPushButton(tr("取消"))),
      m_primary(new AccentButton(primaryText))
{
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setFixedWidth(width);
    m_layout->setContentsMargins(padding, padding, padding, 0);
    m_layout->setSpacing(spacing);
    if (m_header)
        m_layout->addWidget(m_header);
    m_layout->addStretch();
    m_scroll->setWidget(m_layout->parentWidget());
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_layout->parentWidget()->setAutoFillBackground(false);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, padding);
    outer->setSpacing(spacing);
    outer->addWidget(m_scroll);

    // Return presses the primary button wherever the focus is, "取消" included.
    m_cancel->setAutoDefault(false);
    m_primary->setAutoDefault(false);
    m_primary->setDefault(true);
    m_cancel->setFixedHeight(m_primary->sizeHint().height());
    m_buttons->setContentsMargins(padding, 0, padding, 0);
    m_buttons->addStretch();
    m_buttons->addWidget(m_cancel);
    m_buttons->addWidget(m_primary);
    outer->addLayout(m_buttons);
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
    const int content =
        m_layout->hasHeightForWidth() ? m_layout->totalHeightForWidth(width()) : m_layout->totalSizeHint().height();
    setFixedHeight(std::min(content + spacing + m_buttons->sizeHint().height() + padding, heightLimit()));
}

int SheetDialog::heightLimit() const
{
    const QScreen *screen = (parentWidget() ? parentWidget()->window() : this)->screen();
    return screen ? screen->availableGeometry().height() - titleBarAllowance : QWIDGETSIZE_MAX;
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
