#pragma once

#include "engine/ImportedToken.h"

#include <QWidget>

class QComboBox;
class QSpinBox;
class QToolButton;

// The add sheet's collapsed "高级" section: hash algorithm, digits and period of the new
// account, SHA1, 6 and 30 until the user or a pasted link says otherwise. A Steam link's
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

Q_SIGNALS:
    void changed();
    void expandedChanged();

private:
    void showValues();

    ImportedToken m_settings;
    QToolButton *m_toggle;
    QWidget *m_controls;
    QComboBox *m_algorithm;
    QSpinBox *m_digits;
    QSpinBox *m_period;
};
