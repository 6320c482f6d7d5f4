#include "engine/LinkError.h"

#include "engine/LabelText.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {
// Enough of a strange algorithm name to recognise it, not a page of it.
constexpr qsizetype shownNameLength = 24;
} // namespace

LinkError LinkError::notALink()
{
    return LinkError(QString());
}

LinkError LinkError::unknownAlgorithm(const QString &name)
{
    QString shown = LabelText::cleaned(name);
    if (shown.size() > shownNameLength)
        shown = shown.first(shownNameLength) + u'…';
    return LinkError(
        QCoreApplication::translate("LinkError", "不支持的算法“%1”，仅支持 SHA1、SHA256 和 SHA512。").arg(shown));
}
