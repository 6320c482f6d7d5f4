#include "ui/ImportSummaryDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// A list of thousands would take the panel seconds to lay out, and no one reads it.
constexpr qsizetype listedAtMost = 100;

template <typename T> void appendListed(QStringList &lines, const QList<T> &items, auto line)
{
    for (const T &item : items.first(std::min(items.size(), listedAtMost)))
        lines << u"  · "_s + line(item);
    if (items.size() > listedAtMost)
        lines << u"  ……另有 %1 个"_s.arg(items.size() - listedAtMost);
}

QString describe(const ImportBatch &batch)
{
    QStringList lines;
    lines << u"新账户：%1 个"_s.arg(batch.tokens.size());
    appendListed(lines, batch.tokens,
                 [](const ImportedToken &token) { return ImportBatch::label(token.name, token.issuer); });
    if (!batch.present.isEmpty())
        lines << u"已存在（将跳过）：%1 个"_s.arg(batch.present.size());
    if (!batch.refused.isEmpty())
        lines << u"无法导入：%1 个"_s.arg(batch.refused.size());
    appendListed(lines, batch.refused,
                 [](const ImportBatch::Refusal &refusal) { return u"%1：%2"_s.arg(refusal.label, refusal.reason); });
    return lines.join(u'\n');
}

} // namespace

ImportSummaryDialog::ImportSummaryDialog(const ImportBatch &batch, QWidget *parent)
    : QDialog(parent),
      m_summary(new QLabel(describe(batch))),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Cancel))
{
    setWindowTitle(u"导入账户"_s);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_summary);
    scroll->setWidgetResizable(true);
    QPushButton *add = m_buttons->addButton(u"添加 %1 个账户"_s.arg(batch.tokens.size()), QDialogButtonBox::AcceptRole);
    add->setEnabled(!batch.tokens.isEmpty());
    add->setDefault(true);
    m_buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    m_buttons->button(QDialogButtonBox::Cancel)->setAutoDefault(false); // Return adds
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(360, 320);
}

QString ImportSummaryDialog::summaryText() const
{
    return m_summary->text();
}
