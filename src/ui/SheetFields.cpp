#include "ui/SheetFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

SheetFields::SheetFields(QWidget *parent) : QWidget(parent), m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(12);
    m_grid->setVerticalSpacing(10);
    m_grid->setColumnStretch(1, 1);
}

QLineEdit *SheetFields::addRow(const QString &label, const QString &placeholder)
{
    const int row = m_grid->count() / 2; // two items a row
    auto *field = new QLineEdit;
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(label);
    auto *caption = new QLabel(label);
    caption->setBuddy(field);
    m_grid->addWidget(caption, row, 0, Qt::AlignLeading | Qt::AlignVCenter);
    m_grid->addWidget(field, row, 1);
    return field;
}

QLineEdit *SheetFields::addNameRow()
{
    return addRow(tr("名称"), tr("例如：name@example.com"));
}

QLineEdit *SheetFields::addIssuerRow()
{
    return addRow(tr("服务"), tr("例如：GitHub"));
}
