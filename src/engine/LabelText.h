#pragma once

#include <QString>

// Names and issuers as the system keeps them, wherever they come from.
namespace LabelText {

// The text without control characters (C0, DEL, C1, line and paragraph separators) and
// without the bidi embedding, override and isolate characters, which would let a name
// reorder or hide the text shown beside it.
QString cleaned(const QString &text);

} // namespace LabelText
