#pragma once

#include "engine/ImportedToken.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QToolButton;

// The add sheet's collapsed "高级" section: type, hash algorithm, digits, period and counter of
// the new account, TOTP, SHA1, 6, 30 and 0 until the user or a pasted link says otherwise. A Steam link's
// fixed form is kept as it came, with the controls disabled.
class CodeSettingsFields : public QWidget
{
    Q_OBJECT

public:
    explicit CodeSettingsFields(QWidget *parent = nullptr);

    // Takes the link's algorithm, digits, period and Steam form.
    void takeFrom(const ImportedToken &token);
    void applyTo(ImportedToken &token) const;
    // For example "SHA256 · 8 位 · 60 秒".
    QString summary() const;

    QToolButton *toggle() const { return m_toggle; }
    QComboBox *algorithmBox() const { return m_algorithm; }
    QSpinBox *digitsBox() const { return m_digits; }
    QSpinBox *periodBox() const { return m_period; }
    QComboBox *kindBox() const { return m_kind; }
    QLineEdit *counterField() const { return m_counter; }

Q_SIGNALS:
    void changed();
    void expandedChanged();

private:
    void showValues();

    OtpParameters m_settings;
    QToolButton *m_toggle;
    QWidget *m_controls;
    QComboBox *m_kind;
    QComboBox *m_algorithm;
    QSpinBox *m_digits;
    QSpinBox *m_period;
    QLineEdit *m_counter;
};
