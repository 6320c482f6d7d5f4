#include "transfer/CsvTable.h"

CsvTable::CsvTable(const QString &text)
{
    QStringList row;
    QString field;
    bool quoted = false;
    const auto endRow = [&] {
        row << std::exchange(field, QString());
        if (row.size() > 1 || !row.front().isEmpty())
            m_rows << row;
        row.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (c == u',') {
            row << std::exchange(field, QString());
        } else if (c == u'\n') {
            endRow();
        } else if (c != u'\r') {
            field += c;
        }
    }
    endRow();
}

QString CsvTable::field(qsizetype row, const QString &column) const
{
    const qsizetype index = m_rows.isEmpty() ? -1 : m_rows.front().indexOf(column);
    const QStringList &fields = m_rows.value(row + 1);
    return index < 0 ? QString() : fields.value(index);
}
