#include "ui/ImportRunner.h"

#include "store/ImportRun.h"
#include "ui/ImportProgressDialog.h"

void ImportRunner::start(TokenStore &store, const QList<ImportedToken> &tokens, QObject &owner, QWidget *dialogParent,
                         Done done)
{
    auto *run = new ImportRun(store, tokens, &owner);
    QObject::connect(
        run, &ImportRun::finished, &owner,
        [run, done = std::move(done)](const ImportSummary &summary) {
            run->deleteLater();
            done(summary);
        },
        Qt::QueuedConnection);
    ImportProgressDialog::showFor(*run, dialogParent);
    run->start();
}
