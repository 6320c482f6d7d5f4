#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"
#include "ui/RowAction.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <optional>

class AccountFilter;
class TokenRow;
class QWidget;

// The list's row widgets, made when first needed and reused as the list scrolls. They show
// the accounts in view, each with its code, copy mark, focus ring and hidden code; the rest
// stay hidden.
class RowPool : public QObject
{
    Q_OBJECT

public:
    RowPool(QWidget &container, Clock clock);

    // Each false when nothing changed, so the rows need no laying out.
    bool setCodes(const QHash<QUuid, QString> &codes);
    bool setCopied(const std::optional<QUuid> &id);
    bool setCodesHidden(bool hidden);
    void setReduceMotion(bool reduceMotion);
    void setTypingNote(const std::function<QString()> &note);

    // Shows the filter's shown accounts `first` to `last` in their places, the current one
    // with its ring when `ring`. Returns their ids.
    QList<QUuid> show(const AccountFilter &filter, qsizetype first, qsizetype last, bool ring);
    // The row showing the account, when it is in view.
    TokenRow *rowFor(const QUuid &id) const;
    int size() const { return int(m_rows.size()); }
    void syncHover();

Q_SIGNALS:
    void rowAction(RowAction action, const TokenAccount &account, const QUuid &dropped);

private:
    TokenRow *row(qsizetype used);

    QWidget &m_container;
    Clock m_clock;
    QHash<QUuid, QString> m_codes;
    std::optional<QUuid> m_copied;
    bool m_codesHidden = false;
    bool m_reduceMotion = false;
    std::function<QString()> m_typingNote;
    QList<TokenRow *> m_rows;
};
