#include "app/RunnerAdaptor.h"

#include "app/CodeService.h"
#include "app/CodesOnBus.h"

using namespace Qt::Literals::StringLiterals;

namespace {

double relevance(AccountSearch::Fit fit)
{
    switch (fit) {
    case AccountSearch::Fit::ExactIssuer:
        return 1.0;
    case AccountSearch::Fit::IssuerPrefix:
        return 0.8;
    case AccountSearch::Fit::Partial:
        break;
    }
    return 0.6;
}

} // namespace

RunnerAdaptor::RunnerAdaptor(QObject *object, CodesOnBus &codes) : QDBusAbstractAdaptor(object), m_codes(codes) {}

QList<RunnerAction> RunnerAdaptor::Actions()
{
    if (!m_codes.codes().typingUnavailable().isEmpty())
        return {};
    return {{typeAction, tr("输入验证码"), u"input-keyboard"_s}};
}

QList<RunnerMatch> RunnerAdaptor::Match(const QString &query, const QDBusMessage &call)
{
    const QList<AccountSearch::Match> found = m_codes.find(AccountSearch::terms(query));
    QList<QUuid> ids;
    for (const AccountSearch::Match &match : found)
        ids << match.account.id;
    m_codes.replyAfterKeychain(call, ids, [this, query] { return QVariant::fromValue(matches(query)); });
    return {};
}

QList<RunnerMatch> RunnerAdaptor::matches(const QString &query)
{
    QList<RunnerMatch> matches;
    for (const AccountSearch::Match &match : m_codes.find(AccountSearch::terms(query))) {
        const bool exact = match.fit == AccountSearch::Fit::ExactIssuer;
        matches.append({m_codes.resultId(match.account.id),
                        CodesOnBus::title(match.account),
                        u"org.corvane.Corvane"_s,
                        exact ? RunnerMatch::ExactMatch : RunnerMatch::PossibleMatch,
                        relevance(match.fit),
                        {{u"subtext"_s, m_codes.description(match.account)}}});
    }
    return matches;
}

void RunnerAdaptor::Run(const QString &matchId, const QString &actionId)
{
    if (actionId != typeAction) {
        m_codes.activate(matchId);
        return;
    }
    if (const auto id = m_codes.account(matchId)) {
        CodeService &codes = m_codes.codes();
        codes.whenUsable(*id, [&codes, id = *id] { codes.type(id, [](bool) {}); });
    }
}
