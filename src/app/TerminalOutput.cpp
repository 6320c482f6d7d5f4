#include "app/TerminalOutput.h"

#include "engine/LabelText.h"

namespace {

// Tabs and line breaks would split the line; other control and bidi characters could
// rewrite what the terminal shows.
QString field(QString text)
{
    for (QChar &c : text) {
        if (c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return LabelText::cleaned(text);
}

} // namespace

namespace TerminalOutput {

QByteArray line(const QStringList &fields)
{
    QStringList cleaned;
    for (const QString &text : fields)
        cleaned << field(text);
    return cleaned.join(u'\t').toUtf8() + '\n';
}

void write(std::FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace TerminalOutput
