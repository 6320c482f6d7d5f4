#include "ui/BackupRestoreSheet.h"

#include "ui/AccentButton.h"

#include <QLabel>
#include <QListWidget>
#include <QLocale>

namespace {

constexpr int sheetWidth = 400;
constexpr int listHeight = 220;

} // namespace

BackupRestoreSheet::BackupRestoreSheet(QWidget *parent)
    : SheetDialog(sheetWidth, Glyph::DocOnDoc, tr("从备份恢复"), tr("选择一份自动备份，导入其中这台电脑没有的账户"),
                  tr("恢复…"), parent),
      m_status(addCaption(CaptionStyle::Secondary, tr("正在读取备份…"))),
      m_list(new QListWidget)
{
    m_list->setAccessibleName(tr("备份"));
    m_list->setFixedHeight(listHeight);
    m_list->setWordWrap(true);
    m_list->setAlternatingRowColors(true); // each backup is two lines
    m_list->hide();
    addSection(m_list);
    primaryButton()->setEnabled(false);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        const QListWidgetItem *item = m_list->item(row);
        primaryButton()->setEnabled(item && item->flags().testFlag(Qt::ItemIsEnabled));
    });
    connect(m_list, &QListWidget::itemActivated, this, &BackupRestoreSheet::choose);
    connect(primaryButton(), &QPushButton::clicked, this, &BackupRestoreSheet::choose);
}

QString BackupRestoreSheet::describe(const Item &item)
{
    const QString computer = item.thisComputer ? tr("%1（这台电脑）").arg(item.computer) : item.computer;
    const QString state = item.state == Item::State::opened          ? tr("%n 个账户", nullptr, int(item.accounts))
                          : item.state == Item::State::needsPassword ? tr("需要密码")
                                                                     : tr("无法读取");
    return tr("%1 · %2\n%3").arg(computer, QLocale().toString(item.time, QLocale::ShortFormat), state);
}

void BackupRestoreSheet::setItems(const QList<Item> &items)
{
    m_list->clear();
    for (const Item &item : items) {
        auto *row = new QListWidgetItem(describe(item), m_list);
        if (item.state == Item::State::unreadable)
            row->setFlags(row->flags() & ~Qt::ItemIsEnabled);
    }
    if (items.isEmpty())
        return setMessage(tr("文件夹中还没有备份。"));
    m_status->setText(tr("共 %n 份备份，最新的在最上面。", nullptr, int(items.size())));
    m_list->show();
    m_list->setFocus();
    m_list->setCurrentRow(0);
    fitHeight();
}

void BackupRestoreSheet::setMessage(const QString &text)
{
    m_status->setText(text);
    m_list->hide();
    fitHeight();
}

void BackupRestoreSheet::choose()
{
    const int row = m_list->currentRow();
    if (row < 0 || !m_list->item(row)->flags().testFlag(Qt::ItemIsEnabled))
        return;
    accept(); // closed before the import's own dialogs open
    Q_EMIT chosen(row);
}
