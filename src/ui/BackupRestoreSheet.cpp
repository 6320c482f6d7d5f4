#include "ui/BackupRestoreSheet.h"

#include "ui/AccentButton.h"
#include "ui/SheetHeader.h"

#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int narrowestSheet = 400;
constexpr int widestSheet = 600;
// Backups in view at once; the older ones scroll.
constexpr int rowsInView = 5;

} // namespace

BackupRestoreSheet::BackupRestoreSheet(QWidget *parent)
    : SheetDialog(narrowestSheet, Glyph::DocOnDoc, tr("从备份恢复"), tr("选择一份自动备份，导入其中这台电脑没有的账户"),
                  tr("恢复…"), parent),
      m_status(addCaption(CaptionStyle::Secondary, tr("正在读取备份…"))),
      m_list(new QListWidget)
{
    m_list->setAccessibleName(tr("备份"));
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
    m_list->setCurrentRow(preferredRow(items));
    fitContent();
}

// The newest backup with accounts; failing that, the newest that may hold some (another
// password's). An empty one, of a computer just set up, is rarely the one wanted.
int BackupRestoreSheet::preferredRow(const QList<Item> &items)
{
    const auto rank = [](const Item &item) {
        return item.state == Item::State::opened ? (item.accounts > 0 ? 0 : 2)
                                                 : (item.state == Item::State::needsPassword ? 1 : 3);
    };
    const auto best = std::ranges::min_element(items, {}, rank);
    return best == items.end() ? 0 : int(best - items.begin());
}

void BackupRestoreSheet::setMessage(const QString &text)
{
    m_status->setText(text);
    m_list->hide();
    fitContent();
}

// As wide as the header and the widest backup, within bounds, and as tall as the backups up
// to a few, so that no language's texts are cut off. A sheet on the screen grows about its
// middle, where it was centred over the panel.
void BackupRestoreSheet::fitContent()
{
    const int frame = 2 * m_list->frameWidth();
    int rows = 0;
    for (int row = 0; row < std::min(m_list->count(), rowsInView); ++row)
        rows += m_list->sizeHintForRow(row);
    m_list->setFixedHeight(rows + frame);
    const int scrollBar = m_list->count() > rowsInView ? m_list->verticalScrollBar()->sizeHint().width() : 0;
    const int list = m_list->isHidden() ? 0 : m_list->sizeHintForColumn(0) + frame + scrollBar;
    const int wanted =
        std::clamp(std::max(header()->sizeHint().width(), list) + 2 * padding, narrowestSheet, widestSheet);
    if (isVisible())
        move(x() - (wanted - width()) / 2, y());
    setFixedWidth(wanted);
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
