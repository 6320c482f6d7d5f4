#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QProgressBar;

// Asks for a backup's password: once to open a backup, twice (and the same) to make one.
// To open one, OK hands the password over (submitted) and the dialog waits, busy, to be told
// whether it opened the backup; Cancel works all along.
class PasswordDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Mode {
        choose,
        enter,
    };

    PasswordDialog(Mode mode, const QString &message, QWidget *parent = nullptr);

    QString password() const;
    QLineEdit *field() const { return m_field; }
    QLineEdit *repeatField() const { return m_repeat; }
    QDialogButtonBox *buttons() const { return m_buttons; }
    bool isBusy() const { return m_isBusy; }

    // While busy the field and OK are disabled and the dialog says that it is checking.
    void setBusy(bool busy);
    // Ends the busy state with the reason the password did not open the backup.
    void refuse(const QString &reason);

Q_SIGNALS:
    void submitted();

private:
    QLineEdit *addField(const QString &placeholder);
    void updateAcceptable();
    void showHint(const QString &text);

    Mode m_mode;
    QLineEdit *m_field;
    QLineEdit *m_repeat = nullptr;
    QLabel *m_hint;
    QProgressBar *m_progress;
    QDialogButtonBox *m_buttons;
    bool m_isBusy = false;
};
