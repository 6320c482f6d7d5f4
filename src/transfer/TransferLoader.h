#pragma once

#include "transfer/TransferError.h"
#include "transfer/TransferLayer.h"

#include <expected>

// Opens the transfer plugin on first use and keeps it for the life of the process. It is
// looked for by absolute path only: beside the executable, then where it is installed (the
// library folder as seen from the executable's), never on a search path.
namespace TransferLoader {

inline constexpr char fileName[] = "libcorvane_transfer_plugin.so";

// componentMissing, with the loader's reason, when no plugin could be opened.
std::expected<const TransferLayer *, TransferError> layer();

} // namespace TransferLoader
