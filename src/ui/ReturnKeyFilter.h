#pragma once

#include <QObject>

// Return and Enter press the focused button, as Space does, in every window of the
// application: the panel's buttons, the undo bar's, the sheets' and the dialogs'. Keys
// typed into a field go on as before, so a dialog's default button still answers them.
// Installed once on the application.
class ReturnKeyFilter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
