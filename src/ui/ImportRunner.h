#pragma once

#include "engine/ImportedToken.h"

#include <QList>

#include <functional>

class QObject;
class QWidget;
class TokenStore;
struct ImportSummary;

// Adds tokens read already, as one import: in batches (ImportRun), with the progress dialog
// and its 停止 button when the run is long, then hands the summary on.
class ImportRunner
{
public:
    using Done = std::function<void(const ImportSummary &summary)>;

    // The run is a child of `owner` and ends with it, unreported. `done` runs on the turn
    // after the run ends, once the progress dialog has closed, so that what shows the result
    // has the keys.
    static void start(TokenStore &store, const QList<ImportedToken> &tokens, QObject &owner, QWidget *dialogParent,
                      Done done);
};
