#include "ui/OpacityPopover.h"

#include "store/PanelPreferences.h"
#include "ui/Glyphs.h"
#include "ui/Palette.h"
#include "ui/PanelFonts.h"

#include <QAbstractButton>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace {

// One level: its label and, when current, a check mark at the right.
class LevelButton : public QAbstractButton
{
public:
    LevelButton(const QString &label, bool current, QWidget *parent) : QAbstractButton(parent), m_current(current)
    {
        setText(label);
        setCheckable(false);
        setFont(panelFont(13));
        setAccessibleName(label);
        setAttribute(Qt::WA_Hover);
    }

    QSize sizeHint() const override { return {OpacityPopover::width - 12, fontMetrics().height() + 12}; }
    bool isCurrent() const { return m_current; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool dark = Palette::isDark(palette());
        if (underMouse() || isDown()) {
            QColor hover = Palette::primary(dark);
            hover.setAlphaF(isDown() ? 0.1f : 0.06f);
            painter.setPen(Qt::NoPen);
            painter.setBrush(hover);
            painter.drawRoundedRect(QRectF(rect()), 5, 5);
        }
        if (hasFocus()) {
            painter.setPen(Palette::focusRingPen(dark));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 5, 5);
        }
        painter.setPen(Palette::primary(dark));
        painter.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
        if (m_current) {
            const QRectF mark(width() - 8 - 11, (height() - 11) / 2.0, 11, 11);
            Glyphs::paint(painter, Glyph::Checkmark, mark, Palette::accentColor(dark), 1.75);
        }
    }

private:
    bool m_current;
};

constexpr std::array<const char *, PanelPreferences::panelOpacityLevels.size()> levelLabels{
    QT_TRANSLATE_NOOP("OpacityPopover", "轻透"), QT_TRANSLATE_NOOP("OpacityPopover", "清晰"),
    QT_TRANSLATE_NOOP("OpacityPopover", "不透明")};

} // namespace

QList<OpacityPopover::Level> OpacityPopover::levels()
{
    QList<Level> levels;
    for (size_t i = 0; i < levelLabels.size(); ++i)
        levels.append({tr(levelLabels[i]), PanelPreferences::panelOpacityLevels[i]});
    return levels;
}

bool OpacityPopover::Level::isCurrent(double panelOpacity) const
{
    return std::abs(panelOpacity - opacity) < 0.01;
}

OpacityPopover::OpacityPopover(double current, QWidget *parent) : QFrame(parent, Qt::Popup)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The press that closes the popover (on the opacity button too) goes no further.
    setAttribute(Qt::WA_NoMouseReplay);
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(width);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(2);
    for (const Level &level : levels()) {
        const double opacity = level.opacity;
        auto *button = new LevelButton(level.label, level.isCurrent(current), this);
        column->addWidget(button);
        connect(button, &QAbstractButton::clicked, this, [this, opacity] {
            Q_EMIT levelChosen(opacity);
            close();
        });
    }
}

void OpacityPopover::popUp(const QWidget *anchor)
{
    adjustSize();
    const QPoint below = anchor->mapToGlobal(QPoint(anchor->width() / 2, anchor->height() + 4));
    move(below.x() - width / 2, below.y());
    show();
    if (!anchor->hasFocus()) // opened with the mouse
        return;
    for (QAbstractButton *button : levelButtons())
        if (static_cast<LevelButton *>(button)->isCurrent())
            button->setFocus(Qt::TabFocusReason);
}

QList<QAbstractButton *> OpacityPopover::levelButtons() const
{
    return findChildren<QAbstractButton *>();
}
