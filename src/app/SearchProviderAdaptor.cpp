#include "app/SearchProviderAdaptor.h"

#include "app/CodeService.h"
#include "app/CodesOnBus.h"

using namespace Qt::Literals::StringLiterals;

SearchProviderAdaptor::SearchProviderAdaptor(QObject *object, CodesOnBus &codes)
    : QDBusAbstractAdaptor(object),
      m_codes(codes)
{}

QStringList SearchProviderAdaptor::GetInitialResultSet(const QStringList &terms)
{
    QStringList ids;
    for (const AccountSearch::Match &match : m_codes.find(terms))
        ids << m_codes.resultId(match.account.id);
    return ids;
}

// The terms only grew, but a fresh search is as quick and keeps the order right.
QStringList SearchProviderAdaptor::GetSubsearchResultSet(const QStringList &, const QStringList &terms)
{
    return GetInitialResultSet(terms);
}

QList<QVariantMap> SearchProviderAdaptor::GetResultMetas(const QStringList &identifiers, const QDBusMessage &call)
{
    QList<QUuid> accounts;
    for (const QString &identifier : identifiers) {
        if (const auto id = m_codes.account(identifier))
            accounts << *id;
    }
    m_codes.replyAfterKeychain(call, accounts, [this, identifiers] {
        QList<QVariantMap> metas;
        for (const QString &identifier : identifiers) {
            const auto id = m_codes.account(identifier);
            const auto account = id ? m_codes.codes().account(*id) : std::nullopt;
            if (!account)
                continue;
            metas << QVariantMap{{u"id"_s, identifier},
                                 {u"name"_s, CodesOnBus::title(*account)},
                                 {u"description"_s, m_codes.description(*account)}};
        }
        return QVariant::fromValue(metas);
    });
    return {};
}

void SearchProviderAdaptor::ActivateResult(const QString &identifier, const QStringList &, uint)
{
    m_codes.activate(identifier);
}

void SearchProviderAdaptor::LaunchSearch(const QStringList &terms, uint)
{
    Q_EMIT m_codes.searchLaunched(terms.join(u' '));
}
