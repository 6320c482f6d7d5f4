#pragma once

#include <QWidget>

#include <optional>

class QGridLayout;
class QLineEdit;

// A sheet's labelled text fields: labels in the leading column, fields filling the rest.
class SheetFields : public QWidget
{
    Q_OBJECT

public:
    explicit SheetFields(QWidget *parent = nullptr);

    QLineEdit *addRow(const QString &label, const QString &placeholder);
    QLineEdit *addNameRow();
    QLineEdit *addIssuerRow();
    // A counter-based account's counter: decimal digits only.
    QLineEdit *addCounterRow();
    // Lets the field take decimal digits only, at most a 64-bit number's twenty.
    static void takeCounterOnly(QLineEdit &field);
    // The counter the field holds; absent when it is empty or beyond 64 bits.
    static std::optional<quint64> counterIn(const QLineEdit &field);
    // What the sheet says about a counter it cannot take.
    static QString counterError();

private:
    QGridLayout *m_grid;
};
