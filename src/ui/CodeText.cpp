#include "ui/CodeText.h"

#include "ui/CodeImages.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

QString CodeText::shown(const QString &codeText, bool steam)
{
    // Six and seven digits read as 3+3 and 3+4, eight as 4+4; Steam's letters stay whole.
    const qsizetype size = codeText.size();
    if (steam || size < 6 || size > 8)
        return codeText;
    const qsizetype head = size == 8 ? 4 : 3;
    return codeText.first(head) + u' ' + codeText.sliced(head);
}

QString CodeText::masked(const QString &shown)
{
    QString masked = shown;
    for (QChar &c : masked) {
        if (c.isLetterOrNumber())
            c = CodeImages::dot;
    }
    return masked;
}

bool CodeText::isCode(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

QString CodeText::titleLine(const TokenAccount &account)
{
    return account.issuer.isEmpty() ? account.name : account.issuer + u" · "_s + account.name;
}
