#include "store/AccountList.h"

#include "engine/LabelText.h"
#include "engine/Logging.h"

#include <QSet>

using namespace Qt::Literals::StringLiterals;

AccountList::AccountList(AccountDocument &document, QObject *parent) : QObject(parent), m_document(document) {}

std::optional<qsizetype> AccountList::indexOf(const QUuid &id) const
{
    for (qsizetype i = 0; i < m_accounts.size(); ++i) {
        if (m_accounts[i].id == id)
            return i;
    }
    return std::nullopt;
}

QList<QUuid> AccountList::ids() const
{
    QList<QUuid> ids;
    ids.reserve(m_accounts.size());
    for (const TokenAccount &account : m_accounts)
        ids.append(account.id);
    return ids;
}

void AccountList::reset(QList<TokenAccount> accounts)
{
    m_accounts = std::move(accounts);
    Q_EMIT changed();
}

std::expected<void, StoreError> AccountList::rename(QUuid id, QString name, QString issuer,
                                                    std::optional<quint64> counter)
{
    const auto index = indexOf(id);
    if (!index)
        return {};
    const QList<TokenAccount> before = m_accounts;
    const QString trimmedName = LabelText::cleaned(name).trimmed();
    m_accounts[*index].name = trimmedName.isEmpty() ? tr("验证码") : trimmedName;
    Q_EMIT changed();
    m_accounts[*index].issuer = LabelText::cleaned(issuer).trimmed();
    Q_EMIT changed();
    if (counter && m_accounts[*index].otp.isHotp()) {
        m_accounts[*index].otp.counter = *counter;
        Q_EMIT changed();
    }
    return saveOrRollBack(before, tr("名称没有修改。"));
}

std::expected<void, StoreError> AccountList::edit(QUuid id, const std::function<void(TokenAccount &)> &change,
                                                  const QString &undone)
{
    const auto index = indexOf(id);
    if (!index)
        return {};
    const QList<TokenAccount> before = m_accounts;
    change(m_accounts[*index]);
    Q_EMIT changed();
    return saveOrRollBack(before, undone);
}

std::expected<void, StoreError> AccountList::editEach(const std::function<bool(TokenAccount &)> &change,
                                                      const QString &undone)
{
    const QList<TokenAccount> before = m_accounts;
    bool changedAny = false;
    for (TokenAccount &account : m_accounts)
        changedAny = change(account) || changedAny;
    if (!changedAny)
        return {};
    Q_EMIT changed();
    return saveOrRollBack(before, undone);
}

std::optional<quint64> AccountList::advanceCounter(QUuid id)
{
    const auto index = indexOf(id);
    if (!index || !m_accounts[*index].otp.isHotp() || m_accounts[*index].otp.counter == ~quint64(0))
        return std::nullopt;
    const QList<TokenAccount> before = m_accounts;
    const quint64 used = m_accounts[*index].otp.counter++;
    Q_EMIT changed();
    if (!saveOrRollBack(before, tr("没有显示验证码。")))
        return std::nullopt;
    return used;
}

void AccountList::move(QUuid id, QUuid before)
{
    if (id == before)
        return;
    const auto from = indexOf(id);
    if (!from || !indexOf(before))
        return;
    const QList<TokenAccount> previous = m_accounts;
    const TokenAccount moved = m_accounts.takeAt(*from);
    Q_EMIT changed();
    m_accounts.insert(*indexOf(before), moved);
    Q_EMIT changed();
    saveOrRollBack(previous, tr("顺序没有改变。"));
}

void AccountList::move(QUuid id, qint64 by)
{
    const auto from = indexOf(id);
    if (!from)
        return;
    const qint64 last = m_accounts.size() - 1;
    // Compared before adding, so a huge `by` cannot overflow.
    const qint64 target = by > last - *from ? last : std::max<qint64>(*from + by, 0);
    if (target == *from)
        return;
    const QList<TokenAccount> previous = m_accounts;
    m_accounts.move(*from, target);
    Q_EMIT changed();
    saveOrRollBack(previous, tr("顺序没有改变。"));
}

std::optional<qsizetype> AccountList::remove(QUuid id)
{
    const auto index = indexOf(id);
    if (!index)
        return std::nullopt;
    m_accounts.removeAt(*index);
    Q_EMIT changed();
    return index;
}

void AccountList::insert(qsizetype index, const TokenAccount &account)
{
    m_accounts.insert(std::min(index, m_accounts.size()), account);
    Q_EMIT changed();
}

void AccountList::append(const QList<TokenAccount> &accounts)
{
    m_accounts.append(accounts);
    Q_EMIT changed();
}

void AccountList::takeBack(const QList<TokenAccount> &accounts)
{
    QSet<QUuid> ids;
    for (const TokenAccount &account : accounts)
        ids.insert(account.id);
    m_accounts.removeIf([&](const TokenAccount &account) { return ids.contains(account.id); });
    Q_EMIT changed();
    m_document.restoreList(m_accounts);
}

std::expected<void, StoreError> AccountList::saveOrRollBack(QList<TokenAccount> before, const QString &undone)
{
    auto saved = save();
    if (saved)
        return saved;
    qCWarning(lcStore) << saved.error().description();
    m_accounts = std::move(before);
    m_document.restoreList(m_accounts);
    Q_EMIT changed();
    Q_EMIT notSaved(tr("%1。%2").arg(saved.error().description(), undone));
    return saved;
}
