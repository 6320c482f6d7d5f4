#pragma once

#include "store/TokenAccount.h"

#include <QString>

// How a code and its account read in a row: the code grouped for the eye, or hidden as
// dots, and the account's title line.
class CodeText
{
public:
    // Shown while the store has no code for the account; never copied.
    static inline const QString placeholder = QStringLiteral(u"—— ——");

    // The code as shown: six to eight digits in two groups, anything else as it is.
    static QString shown(const QString &codeText, bool steam);
    // The shown code with every digit or letter a dot, so that it keeps its place and width.
    static QString masked(const QString &shown);
    // Digits, or Steam's digits and letters: a code that may be copied.
    static bool isCode(const QString &text);
    // The issuer and the name, or the name alone.
    static QString titleLine(const TokenAccount &account);
};
