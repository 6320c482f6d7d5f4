#include "engine/LabelText.h"

namespace {

bool isUnwanted(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
        return true;
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line
           || category == QChar::Separator_Paragraph;
}

} // namespace

namespace LabelText {

QString cleaned(const QString &text)
{
    QString result = text;
    result.removeIf(isUnwanted);
    return result;
}

} // namespace LabelText
