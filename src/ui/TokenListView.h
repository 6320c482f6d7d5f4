#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"

#include <QHash>
#include <QList>
#include <QScrollArea>

#include <optional>

class TokenRow;

// The scrolling list of account rows. Only the rows in view (and one either side) exist
// as widgets, so a long list costs no more than three rows.
class TokenListView : public QScrollArea
{
    Q_OBJECT

public:
    explicit TokenListView(Clock clock, QWidget *parent = nullptr);

    void setAccounts(const QList<TokenAccount> &accounts);
    void setCodes(const QHash<QUuid, QString> &codes);
    void setCopiedAccount(const std::optional<QUuid> &id);
    void setReduceMotion(bool reduceMotion);

    // The row widget showing the account, when it is in view.
    TokenRow *rowFor(const QUuid &id) const;
    int builtRowCount() const;

Q_SIGNALS:
    void copyRequested(const QString &codeText, const TokenAccount &account);
    void renameRequested(const TokenAccount &account);
    void qrCodeRequested(const TokenAccount &account);
    void moveRequested(const TokenAccount &account, qint64 by);
    void deleteRequested(const TokenAccount &account);
    void dropRequested(const QUuid &dragged, const QUuid &target);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    TokenRow *newRow();
    void layoutRows();

    QList<TokenAccount> m_accounts;
    QHash<QUuid, QString> m_codes;
    std::optional<QUuid> m_copied;
    bool m_reduceMotion = false;
    Clock m_clock;
    QWidget *m_container;
    QList<TokenRow *> m_rows;
};
