#include "ui/TokenListView.h"

#include "ui/PanelMetrics.h"
#include "ui/TokenRow.h"

#include <QScrollBar>

using namespace Qt::Literals::StringLiterals;
using PanelMetrics::tokenRowHeight;

TokenListView::TokenListView(Clock clock, QWidget *parent)
    : QScrollArea(parent),
      m_clock(std::move(clock)),
      m_container(new QWidget)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setWidget(m_container);
    viewport()->setAutoFillBackground(false);
    m_container->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(tokenRowHeight / 2);
    // A thin bar over the rows' right padding instead of a wide platform one.
    verticalScrollBar()->setStyleSheet(
        u"QScrollBar:vertical { width: 6px; background: transparent; margin: 2px 1px; }"
        "QScrollBar::handle:vertical { background: rgba(128,128,128,0.45); border-radius: 2px; min-height: 24px; }"
        "QScrollBar::add-line, QScrollBar::sub-line, QScrollBar::add-page, QScrollBar::sub-page { height: 0; background: none; }"_s);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TokenListView::layoutRows);
}

void TokenListView::setAccounts(const QList<TokenAccount> &accounts)
{
    m_accounts = accounts;
    setVerticalScrollBarPolicy(accounts.size() > PanelMetrics::visibleRows ? Qt::ScrollBarAsNeeded
                                                                           : Qt::ScrollBarAlwaysOff);
    m_container->resize(viewport()->width(), int(accounts.size()) * tokenRowHeight);
    layoutRows();
}

void TokenListView::setCodes(const QHash<QUuid, QString> &codes)
{
    m_codes = codes;
    layoutRows();
}

void TokenListView::setCopiedAccount(const std::optional<QUuid> &id)
{
    m_copied = id;
    layoutRows();
}

void TokenListView::setReduceMotion(bool reduceMotion)
{
    m_reduceMotion = reduceMotion;
    for (TokenRow *row : std::as_const(m_rows))
        row->setReduceMotion(reduceMotion);
}

TokenRow *TokenListView::rowFor(const QUuid &id) const
{
    for (TokenRow *row : m_rows) {
        if (row->isVisibleTo(m_container) && row->account().id == id)
            return row;
    }
    return nullptr;
}

int TokenListView::builtRowCount() const
{
    return int(m_rows.size());
}

void TokenListView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    m_container->resize(viewport()->width(), m_container->height());
    layoutRows();
}

TokenRow *TokenListView::newRow()
{
    auto *row = new TokenRow(m_clock, m_container);
    row->setReduceMotion(m_reduceMotion);
    connect(row, &TokenRow::copyRequested, this, &TokenListView::copyRequested);
    connect(row, &TokenRow::renameRequested, this, &TokenListView::renameRequested);
    connect(row, &TokenRow::qrCodeRequested, this, &TokenListView::qrCodeRequested);
    connect(row, &TokenRow::moveRequested, this, &TokenListView::moveRequested);
    connect(row, &TokenRow::deleteRequested, this, &TokenListView::deleteRequested);
    connect(row, &TokenRow::dropRequested, this, &TokenListView::dropRequested);
    m_rows.append(row);
    return row;
}

// Gives the rows in view (plus one either side) their accounts; the rest stay hidden.
void TokenListView::layoutRows()
{
    const qsizetype count = m_accounts.size();
    const int top = verticalScrollBar()->value();
    const qsizetype first = std::max<qsizetype>(top / tokenRowHeight - 1, 0);
    const qsizetype last = std::min<qsizetype>((top + viewport()->height()) / tokenRowHeight + 1, count - 1);
    qsizetype used = 0;
    for (qsizetype index = first; index <= last; ++index, ++used) {
        TokenRow *row = used < m_rows.size() ? m_rows[used] : newRow();
        const TokenAccount &account = m_accounts[index];
        row->setAccount(account, index == 0, index == count - 1);
        const auto code = m_codes.constFind(account.id);
        row->setCode(code == m_codes.constEnd() ? std::nullopt : std::optional(*code));
        row->setCopied(m_copied == account.id);
        row->setGeometry(0, int(index) * tokenRowHeight, m_container->width(), tokenRowHeight);
        row->show();
    }
    for (qsizetype i = used; i < m_rows.size(); ++i)
        m_rows[i]->hide();
}
