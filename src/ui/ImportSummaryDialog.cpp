#include "ui/ImportSummaryDialog.h"

#include "ui/AccentButton.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int dialogWidth = 400;
constexpr int listMaximumHeight = 300;

// A list of thousands, or names thousands of characters long (as a hostile file may hold),
// would take the panel seconds to lay out, and no one reads them.
constexpr qsizetype listedAtMost = 100;
constexpr qsizetype lineAtMost = 200;

QString shortened(const QString &line)
{
    if (line.size() <= lineAtMost)
        return line;
    const qsizetype cut = line.at(lineAtMost - 1).isHighSurrogate() ? lineAtMost - 2 : lineAtMost - 1;
    return line.left(cut) + u'…';
}

template <typename T> void appendListed(QStringList &lines, const QList<T> &items, auto line)
{
    for (const T &item : items.first(std::min(items.size(), listedAtMost)))
        lines << u"  · "_s + shortened(line(item));
    if (items.size() > listedAtMost)
        lines << ImportSummaryDialog::tr("  ……另有 %n 个", nullptr, int(items.size() - listedAtMost));
}

QString describe(const ImportBatch &batch)
{
    QStringList lines;
    if (!batch.format.isEmpty())
        lines << ImportSummaryDialog::tr("文件格式：%1").arg(batch.format);
    lines << ImportSummaryDialog::tr("新账户：%n 个", nullptr, int(batch.tokens.size()));
    appendListed(lines, batch.tokens,
                 [](const ImportedToken &token) { return ImportBatch::label(token.name, token.issuer); });
    if (!batch.present.isEmpty())
        lines << ImportSummaryDialog::tr("已存在（将跳过）：%n 个", nullptr, int(batch.present.size()));
    if (!batch.refused.isEmpty())
        lines << ImportSummaryDialog::tr("无法导入：%n 个", nullptr, int(batch.refused.size()));
    appendListed(lines, batch.refused, [](const ImportBatch::Refusal &refusal) {
        return ImportSummaryDialog::tr("%1：%2").arg(refusal.label, refusal.reason);
    });
    return lines.join(u'\n');
}

} // namespace

ImportSummaryDialog::ImportSummaryDialog(const ImportBatch &batch, QWidget *parent)
    : SheetDialog(dialogWidth, Glyph::Plus, tr("导入账户"), tr("添加前请看一下将会发生什么"),
                  tr("添加 %n 个账户", nullptr, batch.tokens.size()), parent),
      m_summary(new QLabel(describe(batch)))
{
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_summary);
    const int textWidth = dialogWidth - 2 * padding - scroll->verticalScrollBar()->sizeHint().width();
    scroll->setFixedHeight(std::min(m_summary->heightForWidth(textWidth), listMaximumHeight));
    addSection(scroll);
    primaryButton()->setEnabled(!batch.tokens.isEmpty());
    connect(primaryButton(), &QPushButton::clicked, this, &QDialog::accept);
    primaryButton()->setFocus();
}

QString ImportSummaryDialog::summaryText() const
{
    return m_summary->text();
}
