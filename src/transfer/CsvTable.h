#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <stop_token>

// A comma-separated table as RFC 4180 writes it: a field in double quotes may hold commas,
// line breaks and doubled quotes. The first row names the columns. The table is read a row
// at a time and keeps only the fields of the columns asked for, so that time and memory stay
// linear in the text however wide or long the table is.
class CsvTable
{
public:
    // Reads the header of `text`, which must outlive the table, and finds `columns` in it.
    // Once `stop` is asked to stop, the table reads as if it ended there (a row may be
    // millions of fields wide, so this is checked at each field).
    CsvTable(QStringView text, const QStringList &columns, std::stop_token stop = {});

    // The next data row's fields in the columns asked for, in their order, empty where the
    // row or the header has none; absent after the last row. Blank lines are left out.
    std::optional<QStringList> nextRow();

private:
    enum class Ending {
        field,
        row,
        text,
    };

    // Reads the field at the current position, its text into `into` unless that is null;
    // `empty` tells whether it had any.
    Ending readField(QString *into, bool &empty);
    bool atEnd() const { return m_at >= m_text.size() || m_stop.stop_requested(); }

    QStringView m_text;
    qsizetype m_at = 0;
    // Where each column asked for stands in a row; -1 for one the header lacks.
    QList<qsizetype> m_positions;
    std::stop_token m_stop;
};
