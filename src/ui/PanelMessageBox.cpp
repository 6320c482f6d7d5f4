#include "ui/PanelMessageBox.h"

#include "ui/AccentButton.h"
#include "ui/PanelFonts.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int narrowestBox = 320;
constexpr int widestBox = 520;

} // namespace

PanelMessageBox::PanelMessageBox(const QString &text, const QString &choice, QWidget *parent)
    : SheetDialog(narrowestBox, Glyph::Checkmark, QString(), QString(), choice.isEmpty() ? tr("确定") : choice, parent)
{
    setWindowTitle(tr("岚签"));
    auto *message = new QLabel(text);
    message->setFont(panelFont(13));
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    addSection(message);
    // As wide as the longest line, within bounds, so that a short sentence keeps its end.
    const QFontMetrics metrics(message->font());
    int widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    setFixedWidth(std::clamp(widest + 2 * padding + 2, narrowestBox, widestBox));
    connect(primaryButton(), &QPushButton::clicked, this, &QDialog::accept);
    cancelButton()->setVisible(!choice.isEmpty());
    primaryButton()->setFocus(); // the accent button looks like the default, and is it
}
