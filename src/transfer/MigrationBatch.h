#pragma once

#include "transfer/ImportBatch.h"

// The accounts of one phone-export link. A large export is split over several links,
// each a batch of its own, `index` of `count` (counted from 0).
struct MigrationBatch
{
    ImportBatch accounts;
    int index = 0;
    int count = 1;
};
