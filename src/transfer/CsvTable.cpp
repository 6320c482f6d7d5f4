#include "transfer/CsvTable.h"

CsvTable::CsvTable(QStringView text, const QStringList &columns, std::stop_token stop)
    : m_text(text),
      m_positions(columns.size(), -1),
      m_stop(std::move(stop))
{
    bool blank = true;
    while (blank && !atEnd()) {
        for (qsizetype position = 0; !m_stop.stop_requested(); ++position) {
            QString name;
            bool empty = true;
            const Ending ending = readField(&name, empty);
            blank = blank && empty && ending != Ending::field;
            const qsizetype column = columns.indexOf(name);
            if (column >= 0 && m_positions[column] < 0)
                m_positions[column] = position;
            if (ending != Ending::field)
                break;
        }
    }
}

std::optional<QStringList> CsvTable::nextRow()
{
    while (!atEnd()) {
        QStringList row(m_positions.size());
        bool blank = true;
        for (qsizetype position = 0; !m_stop.stop_requested(); ++position) {
            const qsizetype column = m_positions.indexOf(position);
            bool empty = true;
            const Ending ending = readField(column < 0 ? nullptr : &row[column], empty);
            blank = blank && empty && ending != Ending::field;
            if (ending != Ending::field)
                break;
        }
        if (!blank)
            return row;
    }
    return std::nullopt;
}

CsvTable::Ending CsvTable::readField(QString *into, bool &empty)
{
    const auto add = [&](QChar c) {
        empty = false;
        if (into)
            into->append(c);
    };
    bool quoted = false;
    for (; m_at < m_text.size(); ++m_at) {
        const QChar c = m_text[m_at];
        if (quoted) {
            if (c != u'"')
                add(c);
            else if (m_at + 1 < m_text.size() && m_text[m_at + 1] == u'"')
                add(m_text[++m_at]);
            else
                quoted = false;
        } else if (c == u'"' && empty) {
            quoted = true;
        } else if (c == u',' || c == u'\n') {
            ++m_at;
            return c == u',' ? Ending::field : Ending::row;
        } else if (c != u'\r') {
            add(c);
        }
    }
    return Ending::text;
}
