#include "engine/LabelText.h"

#include <QList>

namespace {

constexpr char32_t zeroWidthJoiner = 0x200D;
constexpr char32_t variationSelector16 = 0xFE0F;
constexpr char32_t blackFlag = 0x1F3F4; // a subdivision flag: the black flag, tags, cancel tag
constexpr char32_t firstTag = 0xE0020;
constexpr char32_t cancelTag = 0xE007F;

bool isTag(char32_t c)
{
    return c >= firstTag && c <= cancelTag;
}

// Pictographs and the skin-tone modifiers an emoji sequence is made of.
bool isEmoji(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Symbol_Other || (c >= 0x1F3FB && c <= 0x1F3FF);
}

bool isUnwanted(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format || category == QChar::Separator_Line
           || category == QChar::Separator_Paragraph;
}

// A joiner between two emoji (the first perhaps followed by its presentation selector).
bool joinsEmoji(const QList<uint> &text, qsizetype i)
{
    qsizetype before = i - 1;
    if (before >= 0 && text[before] == variationSelector16)
        --before;
    return before >= 0 && i + 1 < text.size() && isEmoji(text[before]) && isEmoji(text[i + 1]);
}

} // namespace

namespace LabelText {

QString cleaned(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    QList<uint> kept;
    kept.reserve(codePoints.size());
    bool flagSequence = false; // after a black flag and only tags since
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        const char32_t c = codePoints[i];
        flagSequence = c == blackFlag || (flagSequence && isTag(c));
        const bool wanted =
            !isUnwanted(c) || (c == zeroWidthJoiner && joinsEmoji(codePoints, i)) || (isTag(c) && flagSequence);
        if (wanted)
            kept.append(c);
    }
    if (kept.size() == codePoints.size())
        return text;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(kept.constData()), kept.size());
}

} // namespace LabelText
