#include "engine/AccountIcon.h"

#include <QCryptographicHash>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

struct TypeNames
{
    IconType type;
    QStringView name;
    QStringView mime;
};

constexpr std::array<TypeNames, 3> typeNames{{
    {IconType::Svg, u"svg", u"image/svg+xml"},
    {IconType::Png, u"png", u"image/png"},
    {IconType::Jpeg, u"jpeg", u"image/jpeg"},
}};

const TypeNames &namesOf(IconType type)
{
    return typeNames[size_t(type)];
}

} // namespace

AccountIcon AccountIcon::of(QByteArray bytes, IconType type)
{
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    return {hash, type, std::move(bytes)};
}

QString AccountIcon::mimeName(IconType type)
{
    return namesOf(type).mime.toString();
}

std::optional<IconType> AccountIcon::typeFromMime(QStringView mime)
{
    for (const TypeNames &names : typeNames) {
        if (mime.compare(names.mime, Qt::CaseInsensitive) == 0)
            return names.type;
    }
    return std::nullopt;
}

QString AccountIcon::typeName(IconType type)
{
    return namesOf(type).name.toString();
}

std::optional<IconType> AccountIcon::typeFromName(QStringView name)
{
    for (const TypeNames &names : typeNames) {
        if (name == names.name)
            return names.type;
    }
    return std::nullopt;
}

std::optional<IconType> AccountIcon::typeFromFileName(QStringView fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return std::nullopt;
    const QStringView extension = fileName.sliced(dot + 1);
    if (extension.compare(u"jpg", Qt::CaseInsensitive) == 0)
        return IconType::Jpeg;
    for (const TypeNames &names : typeNames) {
        if (extension.compare(names.name, Qt::CaseInsensitive) == 0)
            return names.type;
    }
    return std::nullopt;
}
