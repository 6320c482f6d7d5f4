#pragma once

#include <algorithm>

// The rules of automatic backups that their setup, on the command line and in the sheet,
// states as well.
namespace BackupPolicy {

// A backup password is at least as long as an export's.
inline constexpr int minimumPasswordLength = 8;
// How many of this computer's backups are kept, unless the person chooses.
inline constexpr int defaultKeep = 10;
// Fewer would leave too little to go back to: a rotation never keeps fewer.
inline constexpr int minimumKeep = 3;

constexpr int keepWithin(int keep)
{
    return std::max(minimumKeep, keep);
}

} // namespace BackupPolicy
