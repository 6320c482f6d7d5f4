#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Types a code into the window that has the keyboard, as key presses of the keyboard layout
// in use, never through the clipboard and without Return.
class CodeTyper : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Why codes cannot be typed here; empty when they can.
    virtual QString unavailableReason() const = 0;
    // Types `code` (digits, or Steam's digits and capital letters); `done` learns whether it was.
    virtual void type(const QString &code, std::function<void(bool typed)> done) = 0;
};
