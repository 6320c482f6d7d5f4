#include "app/CodesAdaptor.h"

#include "app/CodeService.h"
#include "app/CodesOnBus.h"

#include <unistd.h>

CodesAdaptor::CodesAdaptor(QObject *object, CodesOnBus &codes) : QDBusAbstractAdaptor(object), m_codes(codes) {}

QList<QStringList> CodesAdaptor::List()
{
    QList<QStringList> accounts;
    for (const TokenAccount &account : m_codes.codes().accounts())
        accounts.append({account.issuer, account.name, kindName(account.otp.kind)});
    return accounts;
}

QList<QStringList> CodesAdaptor::Code(const QString &query, const QDBusUnixFileDescriptor &code,
                                      const QDBusMessage &call)
{
    const QList<TokenAccount> named = AccountSearch::named(m_codes.codes().accounts(), query);
    QList<QStringList> lines;
    for (const TokenAccount &account : named)
        lines.append({account.issuer, account.name});
    if (named.size() != 1)
        return lines;
    call.setDelayedReply(true);
    const QUuid id = named.constFirst().id;
    // A duplicate of its own: the caller's descriptor closes when this call returns.
    const int out = ::dup(code.fileDescriptor());
    m_codes.codes().whenUsable(id, [this, call, lines, id, out] {
        CodeService &codes = m_codes.codes();
        const auto given = codes.take(id);
        if (given) {
            const QByteArray bytes = given->toUtf8();
            [[maybe_unused]] const auto written = ::write(out, bytes.constData(), size_t(bytes.size()));
        }
        ::close(out);
        QString reason = codes.unusable();
        if (!given && reason.isEmpty())
            reason = tr("钥匙串中没有此账户的密钥");
        m_codes.send(given ? call.createReply(QVariant::fromValue(lines))
                           : call.createErrorReply(unavailableError, reason));
    });
    return {};
}
