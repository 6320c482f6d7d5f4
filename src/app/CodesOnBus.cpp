#include "app/CodesOnBus.h"

#include "app/CodeService.h"
#include "app/CodesAdaptor.h"
#include "app/RunnerAdaptor.h"
#include "app/SearchProviderAdaptor.h"
#include "engine/Logging.h"

#include <QDBusMetaType>

using namespace Qt::Literals::StringLiterals;

namespace {

// How long a search waits for secrets still being read, as when a search started the app.
constexpr std::chrono::seconds readBound(3);

} // namespace

CodesOnBus::CodesOnBus(CodeService &codes, Clock clock, QDBusConnection bus, QObject *parent)
    : QObject(parent),
      m_codes(codes),
      m_bus(std::move(bus)),
      m_ids(std::move(clock))
{
    qDBusRegisterMetaType<QList<QVariantMap>>();
    qDBusRegisterMetaType<QList<QStringList>>();
    qDBusRegisterMetaType<RunnerMatch>();
    qDBusRegisterMetaType<QList<RunnerMatch>>();
    qDBusRegisterMetaType<RunnerAction>();
    qDBusRegisterMetaType<QList<RunnerAction>>();
    new SearchProviderAdaptor(&m_search, *this);
    new RunnerAdaptor(&m_runner, *this);
    new CodesAdaptor(&m_terminal, *this);
    for (const auto &[path, object] :
         {std::pair{searchPath, &m_search}, {runnerPath, &m_runner}, {terminalPath, &m_terminal}}) {
        if (!m_bus.registerObject(path, object, QDBusConnection::ExportAdaptors))
            qCWarning(lcApp) << "cannot answer on the session bus at" << path;
    }
}

CodesOnBus::~CodesOnBus()
{
    for (const QString &path : {searchPath, runnerPath, terminalPath})
        m_bus.unregisterObject(path);
}

QList<AccountSearch::Match> CodesOnBus::find(const QStringList &terms) const
{
    return AccountSearch::find(m_codes.accounts(), terms);
}

QString CodesOnBus::title(const TokenAccount &account)
{
    return account.issuer.isEmpty() ? account.name : account.issuer;
}

QString CodesOnBus::description(const TokenAccount &account)
{
    QString said = m_codes.withheld();
    if (said.isEmpty())
        said = m_codes.shownCode(account).value_or(QString());
    if (said.isEmpty())
        return account.name;
    return account.name.isEmpty() ? said : account.name + u" · "_s + said;
}

void CodesOnBus::replyAfterKeychain(const QDBusMessage &call, const QList<QUuid> &ids, std::function<QVariant()> answer)
{
    call.setDelayedReply(true);
    m_codes.afterKeychain(ids, readBound,
                          [this, call, answer = std::move(answer)] { m_bus.send(call.createReply(answer())); });
}

void CodesOnBus::activate(const QString &resultId)
{
    const auto id = account(resultId);
    if (!id)
        return;
    m_codes.whenUsable(*id, [codes = &m_codes, id = *id] { codes->copy(id); });
}
