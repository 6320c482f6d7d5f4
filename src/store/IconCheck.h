#pragma once

#include "engine/AccountIcon.h"

#include <QByteArray>

#include <optional>

// Whether some bytes may become an account's icon: at most 256 KiB of a PNG or a JPEG that
// decodes, or an SVG that Qt SVG renders and that has no script, no event handler and no
// reference outside itself. The type is read from the bytes, whatever a file or a vault
// calls them. Safe on any thread.
namespace IconCheck {

constexpr qsizetype maxBytes = 256 * 1024;

std::optional<IconType> typeOf(const QByteArray &bytes);
// The icon of these bytes, hashed; absent when they may not be one.
std::optional<AccountIcon> icon(QByteArray bytes);

} // namespace IconCheck
