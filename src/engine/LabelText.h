#pragma once

#include <QString>

// Names and issuers as the system keeps them, wherever they come from.
namespace LabelText {

// The text without control characters (C0, DEL, C1, line and paragraph separators) and
// without invisible format characters: bidi embeddings, overrides, isolates and marks,
// zero-width spaces, joiners and non-joiners, the byte order mark, tag characters. They
// would let a name reorder or hide the text beside it, or look like another name. A
// joiner inside an emoji sequence and the tags of a flag's sequence stay.
QString cleaned(const QString &text);

} // namespace LabelText
