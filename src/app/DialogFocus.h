#pragma once

#include <QObject>
#include <QPointer>

class QDialog;

// Windows the person opens from the panel or from another dialog take the keyboard, even
// while another program's window had it; when such a window closes with the keyboard,
// the window it was opened over gets it back, with its own focused control. Installed
// once on the application; windows without a parent (a notice nobody asked for) are left
// alone.
class DialogFocus : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The dialog that lost the keyboard during this turn of the event loop.
    QPointer<QDialog> m_losingKeyboard;
};
