#include "store/IconCheck.h"

#include <QImage>
#include <QSvgRenderer>
#include <QXmlStreamReader>

using namespace Qt::Literals::StringLiterals;

namespace {

// A reference to something in the same document ("#id"), or none.
bool isLocal(QStringView reference)
{
    const QStringView trimmed = reference.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(u'#');
}

// Every url(...) in a style or presentation attribute points into the document.
bool urlsAreLocal(QStringView text)
{
    for (qsizetype at = text.indexOf(u"url(", 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(u"url(", at + 4, Qt::CaseInsensitive)) {
        QStringView target = text.sliced(at + 4).trimmed();
        if (target.startsWith(u'"') || target.startsWith(u'\''))
            target = target.sliced(1);
        if (!target.startsWith(u'#'))
            return false;
    }
    return !text.contains(u"@import", Qt::CaseInsensitive);
}

bool safeElement(const QXmlStreamReader &xml)
{
    const QStringView name = xml.name();
    if (name.compare(u"script", Qt::CaseInsensitive) == 0 || name.compare(u"foreignObject", Qt::CaseInsensitive) == 0)
        return false;
    for (const QXmlStreamAttribute &attribute : xml.attributes()) {
        const QStringView attributeName = attribute.name();
        if (attributeName.startsWith(u"on", Qt::CaseInsensitive))
            return false;
        if (attributeName == u"href" && !isLocal(attribute.value()))
            return false;
        if (!urlsAreLocal(attribute.value()))
            return false;
    }
    return true;
}

// An SVG document with no script, no handler, no document type (whose entities could reach
// out) and nothing it fetches from elsewhere.
bool safeSvg(const QByteArray &bytes)
{
    QXmlStreamReader xml(bytes);
    bool rootSeen = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            return false;
        case QXmlStreamReader::StartElement:
            if (!rootSeen && xml.name() != u"svg")
                return false;
            rootSeen = true;
            if (!safeElement(xml))
                return false;
            break;
        case QXmlStreamReader::Characters:
            if (!urlsAreLocal(xml.text()))
                return false;
            break;
        default:
            break;
        }
    }
    return rootSeen && !xml.hasError();
}

} // namespace

namespace IconCheck {

std::optional<IconType> typeOf(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > maxBytes)
        return std::nullopt;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QImage::fromData(bytes, "PNG").isNull() ? std::nullopt : std::optional(IconType::Png);
    if (bytes.startsWith("\xff\xd8\xff"))
        return QImage::fromData(bytes, "JPEG").isNull() ? std::nullopt : std::optional(IconType::Jpeg);
    if (!safeSvg(bytes))
        return std::nullopt;
    const QSvgRenderer renderer(bytes);
    return renderer.isValid() && !renderer.defaultSize().isEmpty() ? std::optional(IconType::Svg) : std::nullopt;
}

std::optional<AccountIcon> icon(QByteArray bytes)
{
    const auto type = typeOf(bytes);
    if (!type)
        return std::nullopt;
    return AccountIcon::of(std::move(bytes), *type);
}

} // namespace IconCheck
