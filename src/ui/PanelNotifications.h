#pragma once

#include <QObject>

// The keyboard shortcuts' only way to reach the panel's views.
class PanelNotifications : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    // Ctrl+1..3: copy the code of the row at this zero-based position.
    void copyTokenAtIndex(int index);
    // Ctrl+Shift+V: add an account from the secret on the clipboard.
    void pasteSecretAndAdd();
};
