#include "app/TransferMessages.h"

#include "transfer/TransferLoader.h"
#include "ui/PanelMessageBox.h"

bool TransferMessages::ask(const QString &text, const QString &choice) const
{
    PanelMessageBox box(text, choice, m_dialogParent);
    return box.exec() == QDialog::Accepted && !choice.isEmpty();
}

void TransferMessages::inform(const QString &text) const
{
    ask(text, {});
}

void TransferMessages::fail(const TransferError &error) const
{
    inform(error.description());
}

const TransferLayer *TransferMessages::layer() const
{
    const auto loaded = TransferLoader::layer();
    if (!loaded)
        fail(loaded.error());
    return loaded.value_or(nullptr);
}
