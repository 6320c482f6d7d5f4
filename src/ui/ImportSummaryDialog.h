#pragma once

#include "transfer/ImportBatch.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;

// What an import will do, shown before anything is added: the new accounts, how many are
// already listed, and each entry that cannot be imported with the reason.
class ImportSummaryDialog : public QDialog
{
    Q_OBJECT

public:
    ImportSummaryDialog(const ImportBatch &batch, QWidget *parent = nullptr);

    QString summaryText() const;
    QDialogButtonBox *buttons() const { return m_buttons; }

private:
    QLabel *m_summary;
    QDialogButtonBox *m_buttons;
};
