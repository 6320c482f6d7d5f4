#pragma once

#include "ui/SheetDialog.h"

class QLineEdit;
class QProgressBar;

// Asks for a backup's password: once to open a backup, twice (the same, and long enough)
// to make one. To open one, OK hands the password over (submitted) and the dialog waits,
// busy, to be told whether it opened the backup; Cancel works all along.
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
    bool isBusy() const { return m_isBusy; }

    // While busy the field and OK are disabled and the dialog says that it is checking.
    void setBusy(bool busy);
    // Ends the busy state with the reason the password did not open the backup.
    void refuse(const QString &reason);

Q_SIGNALS:
    void submitted();

private:
    QLineEdit *addField(const QString &placeholder);
    void showHint(const QString &text);
    void updateAcceptable();

    Mode m_mode;
    QLineEdit *m_field;
    QLineEdit *m_repeat = nullptr;
    QLabel *m_hint;
    QProgressBar *m_progress;
    bool m_isBusy = false;
};
