#include "ui/PanelMessageBox.h"

#include "ui/AccentButton.h"
#include "ui/DialogWindow.h"

#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

PanelMessageBox::PanelMessageBox(const QString &text, const QString &choice, QWidget *parent)
    : QMessageBox(QMessageBox::NoIcon, u"岚签"_s, text, QMessageBox::NoButton, parent, dialogWindowFlags)
{
    auto *primary = new AccentButton(choice.isEmpty() ? u"好"_s : choice);
    if (choice.isEmpty()) {
        addButton(primary, QMessageBox::AcceptRole);
        setDefaultButton(primary);
        setEscapeButton(primary);
        return;
    }
    QPushButton *cancel = addButton(u"取消"_s, QMessageBox::RejectRole);
    cancel->setFixedHeight(primary->sizeHint().height());
    addButton(primary, QMessageBox::AcceptRole);
    m_choice = primary;
    setDefaultButton(cancel);
    setEscapeButton(cancel);
}

bool PanelMessageBox::choseIt() const
{
    return m_choice && clickedButton() == m_choice;
}
