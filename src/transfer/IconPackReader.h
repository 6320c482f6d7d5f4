#pragma once

#include "engine/IconPack.h"
#include "transfer/TransferError.h"

#include <QString>

#include <expected>

// An Aegis icon pack, from its folder or its zip file: "pack.json" names each icon's file,
// category and issuers; the files are read beside it. An icon whose file is missing, lies
// outside the pack or is larger than any icon may be is left out; its bytes are checked when
// an account takes it.
namespace IconPackReader {

// The most icons a pack gives, and the most bytes read of one (an icon is at most 256 KiB).
constexpr qsizetype maxIcons = 20000;
constexpr qsizetype maxIconBytes = 256 * 1024 + 1;

std::expected<IconPack, TransferError> read(const QString &path);

} // namespace IconPackReader
