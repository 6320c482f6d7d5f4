#pragma once

#include <QWidget>

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

private:
    QGridLayout *m_grid;
};
