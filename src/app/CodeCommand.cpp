#include "app/CodeCommand.h"

#include "app/CodeService.h"
#include "app/CodesAdaptor.h"
#include "app/CodesOnBus.h"
#include "app/QtTranslation.h"
#include "app/SingleInstance.h"
#include "app/TerminalOutput.h"
#include "store/AccountSearch.h"
#include "store/SecretServiceKeychain.h"
#include "store/TokenStore.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QEventLoop>
#include <QLocale>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A keychain that does not answer within this is given up on, inside the 5 s a script waits.
constexpr std::chrono::milliseconds keychainTimeout(4000);
constexpr int listTimeoutMs = 5000;
// Long enough for a person at the keychain's unlock prompt.
constexpr int codeTimeoutMs = 130'000;

QByteArray refused(const QString &reason)
{
    return QCoreApplication::translate("CodeCommand", "无法取得验证码：%1。").arg(reason).toUtf8() + '\n';
}

// The code the instance wrote, read once its answer came.
QString drain(int fd)
{
    QByteArray bytes;
    char buffer[64];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, got);
    return QString::fromUtf8(bytes);
}

} // namespace

std::optional<int> CodeCommand::runIfAsked(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool list = arguments == QStringList{u"--list"_s};
    const bool code = arguments.value(0) == u"--code"_s || arguments.value(0).startsWith(u"--code="_s);
    if (!list && !code)
        return std::nullopt;
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(u"Corvane"_s);
    QCoreApplication::setOrganizationName(u"Corvane"_s);
    QtTranslation::install(application, QtTranslation::languageFor(QLocale::system().uiLanguages()));
    std::optional<QString> query;
    if (code) {
        query = arguments[0].startsWith(u"--code="_s) ? arguments[0].mid(7) : arguments.value(1);
        if (arguments.size() != (arguments[0].startsWith(u"--code="_s) ? 1 : 2) || query->trimmed().isEmpty()) {
            TerminalOutput::write(
                stderr, QCoreApplication::translate("CodeCommand", "用法：corvane --code 查询").toUtf8() + '\n');
            return ambiguous;
        }
    }
    QByteArray out, err;
    const int exit = CodeCommand(query, QDBusConnection::sessionBus(), SingleInstance::serviceName).run(out, err);
    TerminalOutput::write(stdout, out);
    TerminalOutput::write(stderr, err);
    return exit;
}

CodeCommand::CodeCommand(std::optional<QString> query, QDBusConnection bus, QString service)
    : m_query(std::move(query)),
      m_bus(std::move(bus)),
      m_service(std::move(service))
{}

int CodeCommand::run(QByteArray &out, QByteArray &err)
{
    return instanceRuns() ? askInstance(out, err) : readKeychain(out, err);
}

bool CodeCommand::instanceRuns() const
{
    return m_bus.isConnected() && m_bus.interface() && m_bus.interface()->isServiceRegistered(m_service).value();
}

QByteArray CodeCommand::listLine(const QString &issuer, const QString &name, const QString &type)
{
    return TerminalOutput::line({issuer, name, type});
}

int CodeCommand::askInstance(QByteArray &out, QByteArray &err)
{
    qDBusRegisterMetaType<QList<QStringList>>();
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, CodesOnBus::terminalPath,
                                                       u"org.corvane.Corvane.Codes"_s, m_query ? u"Code"_s : u"List"_s);
    call.setAutoStartService(false);
    int ends[2] = {-1, -1};
    if (m_query) {
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
            err = QCoreApplication::translate("CodeCommand", "无法创建管道。").toUtf8() + '\n';
            return failed;
        }
        call << *m_query << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
        ::close(ends[1]); // the call holds a copy of its own
    }
    const QDBusReply<QList<QStringList>> reply =
        m_bus.call(call, QDBus::Block, m_query ? codeTimeoutMs : listTimeoutMs);
    const QString code = m_query ? drain(ends[0]) : QString();
    if (ends[0] >= 0)
        ::close(ends[0]);
    if (!reply.isValid()) {
        const bool refusal = reply.error().name() == CodesAdaptor::unavailableError;
        err = refusal ? refused(reply.error().message())
                      : QCoreApplication::translate("CodeCommand", "岚签已在运行，但没有响应。").toUtf8() + '\n';
        return failed;
    }
    if (!m_query) {
        for (const QStringList &account : reply.value())
            out += listLine(account.value(0), account.value(1), account.value(2));
        return answered;
    }
    return answer(reply.value(), code.isEmpty() ? std::nullopt : std::optional(code), out, err);
}

int CodeCommand::answer(const QList<QStringList> &named, const std::optional<QString> &code, QByteArray &out,
                        QByteArray &err) const
{
    if (named.isEmpty()) {
        err = QCoreApplication::translate("CodeCommand", "没有与“%1”匹配的账户。").arg(*m_query).toUtf8() + '\n';
        return failed;
    }
    if (named.size() > 1) {
        for (const QStringList &account : named) {
            const QString issuer = account.value(0), name = account.value(1);
            out += TerminalOutput::line({issuer.isEmpty() ? name : name.isEmpty() ? issuer : issuer + u" · "_s + name});
        }
        return ambiguous;
    }
    if (!code) {
        err = QCoreApplication::translate("CodeCommand", "钥匙串中没有此账户的密钥。").toUtf8() + '\n';
        return failed;
    }
    out = code->toUtf8() + '\n';
    return answered;
}

// No instance runs: the records come from the settings, the secret from the keychain, and a
// counter is advanced and saved here.
int CodeCommand::readKeychain(QByteArray &out, QByteArray &err)
{
    QSettings settings;
    SecretServiceKeychain keychain(keychainTimeout);
    TokenStore store(keychain, settings, systemClock);
    if (!m_query) {
        for (const TokenAccount &account : store.accounts())
            out += listLine(account.issuer, account.name, kindName(account.otp.kind));
        return answered;
    }
    const QList<TokenAccount> named = AccountSearch::named(store.accounts(), *m_query);
    QList<QStringList> lines;
    for (const TokenAccount &account : named)
        lines.append({account.issuer, account.name});
    if (named.size() != 1)
        return answer(lines, std::nullopt, out, err);
    CodeService codes(store, {}, systemClock, [] { return false; });
    QEventLoop loop;
    bool done = false;
    std::optional<QString> code;
    QString refusal;
    codes.whenUsable(named.constFirst().id, [&] {
        code = codes.take(named.constFirst().id);
        refusal = codes.unusable();
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    store.awaitKeychain(keychainTimeout); // a counter's save
    if (!code && !refusal.isEmpty()) {
        err = refused(refusal);
        return failed;
    }
    return answer(lines, code, out, err);
}
