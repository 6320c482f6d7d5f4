#pragma once

#include "transfer/ImportBatch.h"
#include "ui/SheetDialog.h"

// What an import will do, shown before anything is added: the new accounts, how many are
// already listed, and each entry that cannot be imported with the reason. Long lines wrap;
// a long list scrolls.
class ImportSummaryDialog : public SheetDialog
{
    Q_OBJECT

public:
    ImportSummaryDialog(const ImportBatch &batch, QWidget *parent = nullptr);

    QString summaryText() const;

private:
    QLabel *m_summary;
};
