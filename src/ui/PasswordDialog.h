#pragma once

#include "ui/SheetDialog.h"

class QLineEdit;

// Asks for a backup's password: once to open a backup, twice (the same, and long enough)
// to make one.
class PasswordDialog : public SheetDialog
{
    Q_OBJECT

public:
    enum class Mode {
        choose,
        enter,
    };
    static constexpr int minimumLength = 8;

    PasswordDialog(Mode mode, const QString &message, QWidget *parent = nullptr);

    QString password() const;
    QLineEdit *field() const { return m_field; }
    QLineEdit *repeatField() const { return m_repeat; }
    QLabel *hint() const { return m_hint; }

private:
    QLineEdit *addField(const QString &placeholder);
    void updateAcceptable();

    QLineEdit *m_field;
    QLineEdit *m_repeat = nullptr;
    QLabel *m_hint;
};
