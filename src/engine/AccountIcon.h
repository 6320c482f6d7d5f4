#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The kinds of picture an account's icon may be: the ones Aegis keeps in its vaults.
enum class IconType {
    Svg,
    Png,
    Jpeg,
};

// An account's icon: the SHA-256 of its bytes in lower-case hexadecimal, which names its file,
// and its type. The bytes travel only while icons move in or out of a file; the stored record
// holds the hash and the type alone.
struct AccountIcon
{
    QString hash;
    IconType type = IconType::Png;
    QByteArray bytes = {};

    bool operator==(const AccountIcon &) const = default;

    // An icon of these bytes, hashed.
    static AccountIcon of(QByteArray bytes, IconType type);
    // "image/svg+xml", "image/png", "image/jpeg".
    static QString mimeName(IconType type);
    static std::optional<IconType> typeFromMime(QStringView mime);
    // "svg", "png", "jpeg": the stored record's and `--inspect`'s spelling.
    static QString typeName(IconType type);
    static std::optional<IconType> typeFromName(QStringView name);
    // The type a file name's extension says (".svg", ".png", ".jpg", ".jpeg"), in any case.
    static std::optional<IconType> typeFromFileName(QStringView fileName);
};
