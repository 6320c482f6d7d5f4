#include "ui/SheetFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

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

QLineEdit *SheetFields::addCounterRow()
{
    QLineEdit *field = addRow(tr("计数器"), tr("下一个验证码的计数器"));
    takeCounterOnly(*field);
    return field;
}

void SheetFields::takeCounterOnly(QLineEdit &field)
{
    field.setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]{1,20}"_s), &field));
}

std::optional<quint64> SheetFields::counterIn(const QLineEdit &field)
{
    bool ok = false;
    const quint64 counter = field.text().toULongLong(&ok);
    return ok ? std::optional(counter) : std::nullopt;
}

QString SheetFields::counterError()
{
    return tr("计数器应为 0 到 18446744073709551615 之间的整数。");
}
