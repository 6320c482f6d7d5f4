#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A comma-separated table as RFC 4180 writes it: a field in double quotes may hold commas,
// line breaks and doubled quotes. The first row names the columns.
class CsvTable
{
public:
    explicit CsvTable(const QString &text);

    // The rows after the header, blank lines left out.
    qsizetype rowCount() const { return m_rows.size() - qMin<qsizetype>(m_rows.size(), 1); }
    // The field of the data row in the named column; empty when it has none.
    QString field(qsizetype row, const QString &column) const;

private:
    QList<QStringList> m_rows;
};
