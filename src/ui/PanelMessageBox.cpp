#include "ui/PanelMessageBox.h"

#include "ui/AccentButton.h"
#include "ui/PanelFonts.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int boxWidth = 440;

} // namespace

PanelMessageBox::PanelMessageBox(const QString &text, const QString &choice, QWidget *parent)
    : SheetDialog(boxWidth, Glyph::Checkmark, QString(), QString(), choice.isEmpty() ? u"好"_s : choice, parent)
{
    setWindowTitle(u"岚签"_s);
    auto *message = new QLabel(text);
    message->setFont(panelFont(13));
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    addSection(message);
    connect(primaryButton(), &QPushButton::clicked, this, &QDialog::accept);
    cancelButton()->setVisible(!choice.isEmpty());
    QPushButton *first = choice.isEmpty() ? static_cast<QPushButton *>(primaryButton()) : cancelButton();
    primaryButton()->setDefault(choice.isEmpty());
    cancelButton()->setDefault(!choice.isEmpty());
    first->setFocus();
}
