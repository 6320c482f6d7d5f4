#pragma once

#include "transfer/TransferError.h"
#include "transfer/TransferLayer.h"

#include <expected>
#include <functional>

// Opens the vault writer and reader (the transfer plugin) when a backup first needs it, so
// that a start maps none of its libraries; why not, when it cannot be opened.
using LayerSource = std::function<std::expected<const TransferLayer *, TransferError>()>;
