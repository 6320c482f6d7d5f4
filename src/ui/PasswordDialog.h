#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// Asks for a backup's password: once to open a backup, twice (and the same) to make one.
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

private:
    QLineEdit *addField(const QString &placeholder);
    void updateAcceptable();

    QLineEdit *m_field;
    QLineEdit *m_repeat = nullptr;
    QLabel *m_hint;
    QDialogButtonBox *m_buttons;
};
