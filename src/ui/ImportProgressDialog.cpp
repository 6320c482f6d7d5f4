#include "ui/ImportProgressDialog.h"

#include "store/ImportRun.h"
#include "ui/DialogWindow.h"

#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

void ImportProgressDialog::showFor(ImportRun &run, QWidget *parent)
{
    if (run.total() <= ImportRun::batchSize)
        return;
    auto *dialog = new ImportProgressDialog(run, parent);
    dialog->show();
}

ImportProgressDialog::ImportProgressDialog(ImportRun &run, QWidget *parent)
    : QProgressDialog(parent, dialogWindowFlags),
      m_stop(new QPushButton(tr("停止")))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("岚签"));
    setMinimumDuration(0);
    setAutoReset(false);
    setAutoClose(false);
    setCancelButton(m_stop);
    showProgress(0, run.total());
    connect(&run, &ImportRun::progressed, this, &ImportProgressDialog::showProgress);
    connect(&run, &ImportRun::pausedChanged, this, &ImportProgressDialog::showPaused);
    connect(&run, &ImportRun::finished, this, &ImportProgressDialog::end);
    connect(&run, &QObject::destroyed, this, &ImportProgressDialog::end);
    connect(this, &QProgressDialog::canceled, &run, [this, &run] {
        run.stop();
        m_stop->setEnabled(false);
        setLabel(tr("正在停止，已开始的一批账户添加完就停下…"));
    });
}

void ImportProgressDialog::showProgress(qsizetype tried, qsizetype total)
{
    setMaximum(int(total));
    setValue(int(tried));
    if (!wasCanceled())
        setLabel(tr("正在添加 %1 / %n 个账户…", nullptr, int(total)).arg(tried));
}

void ImportProgressDialog::showPaused(bool paused)
{
    if (!wasCanceled())
        setLabel(paused ? tr("钥匙串没有响应，导入已暂停，它恢复后会自动继续…") : tr("钥匙串已恢复，继续添加…"));
}

void ImportProgressDialog::setLabel(const QString &text)
{
    setLabelText(text);
    setFixedSize(isVisible() ? size().expandedTo(sizeHint()) : sizeHint());
}

// Closing a progress dialog reports a cancel, which must not reach the run that ended.
void ImportProgressDialog::end()
{
    disconnect(this, &QProgressDialog::canceled, nullptr, nullptr);
    close();
}
