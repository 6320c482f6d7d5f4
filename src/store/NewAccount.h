#pragma once

#include "store/StoreError.h"
#include "store/TokenAccount.h"

#include <QList>
#include <QString>

#include <optional>

// An account about to be stored, with its normalised secret.
struct NewAccount
{
    TokenAccount account;
    QString secret;
};

// Per account of one add, why it was not added, if it was not.
using AddOutcomes = QList<std::optional<StoreError>>;
