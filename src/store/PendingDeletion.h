#pragma once

#include "store/TokenAccount.h"

// An account removed from the list whose secret stays in the keychain until the undo
// window closes.
struct PendingDeletion
{
    TokenAccount account;
    qint64 originalIndex;

    bool operator==(const PendingDeletion &) const = default;
};
