#include "ui/RowPool.h"

#include "ui/AccountFilter.h"
#include "ui/PanelMetrics.h"
#include "ui/TokenRow.h"

using PanelMetrics::tokenRowHeight;

RowPool::RowPool(QWidget &container, Clock clock)
    : QObject(&container),
      m_container(container),
      m_clock(std::move(clock))
{}

bool RowPool::setCodes(const QHash<QUuid, QString> &codes)
{
    return codes != std::exchange(m_codes, codes);
}

bool RowPool::setCopied(const std::optional<QUuid> &id)
{
    return id != std::exchange(m_copied, id);
}

bool RowPool::setCodesHidden(bool hidden)
{
    return hidden != std::exchange(m_codesHidden, hidden);
}

void RowPool::setReduceMotion(bool reduceMotion)
{
    m_reduceMotion = reduceMotion;
    for (TokenRow *row : std::as_const(m_rows))
        row->setReduceMotion(reduceMotion);
}

void RowPool::setTypingNote(const std::function<QString()> &note)
{
    m_typingNote = note;
    for (TokenRow *row : std::as_const(m_rows))
        row->setTypingNote(note);
}

QList<QUuid> RowPool::show(const AccountFilter &filter, qsizetype first, qsizetype last, bool ring)
{
    const QList<TokenAccount> &accounts = filter.accounts();
    qsizetype used = 0;
    QList<QUuid> shown;
    for (qsizetype index = first; index <= last; ++index, ++used) {
        TokenRow *row = this->row(used);
        const TokenAccount &account = filter.shown()[index];
        shown.append(account.id);
        // The menu's moves act on the whole list, whatever the filter shows.
        row->setAccount(account, account.id == accounts.first().id, account.id == accounts.last().id);
        const auto code = m_codes.constFind(account.id);
        row->setCode(code == m_codes.constEnd() ? std::nullopt : std::optional(*code));
        row->setCopied(m_copied == account.id);
        row->setFocusRing(ring && filter.isCurrent(account.id));
        row->setCodeHidden(m_codesHidden);
        row->setGeometry(0, int(index) * tokenRowHeight, m_container.width(), tokenRowHeight);
        row->show();
    }
    for (qsizetype i = used; i < m_rows.size(); ++i)
        m_rows[i]->hide();
    return shown;
}

TokenRow *RowPool::row(qsizetype used)
{
    if (used < m_rows.size())
        return m_rows[used];
    auto *row = new TokenRow(m_clock, &m_container);
    row->setReduceMotion(m_reduceMotion);
    row->setTypingNote(m_typingNote);
    connect(row, &TokenRow::actionRequested, this, &RowPool::rowAction);
    m_rows.append(row);
    return row;
}

TokenRow *RowPool::rowFor(const QUuid &id) const
{
    for (TokenRow *row : m_rows) {
        if (row->isVisibleTo(&m_container) && row->account().id == id)
            return row;
    }
    return nullptr;
}

void RowPool::syncHover()
{
    for (TokenRow *row : std::as_const(m_rows))
        row->syncHover();
}
