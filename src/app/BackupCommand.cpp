#include "app/BackupCommand.h"

#include "app/BackupService.h"
#include "app/QtTranslation.h"
#include "app/SingleInstance.h"
#include "app/TerminalInput.h"
#include "backup/AutoBackup.h"
#include "backup/BackupPolicy.h"
#include "store/SecretServiceKeychain.h"
#include "store/TokenStore.h"
#include "transfer/TransferLoader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QDir>
#include <QLocale>
#include <QSysInfo>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

enum ExitCode {
    done = 0,
    failed = 1,
    usageError = 2,
};

constexpr int busTimeoutMs = 120'000;

struct Request
{
    QString action; // "backup-setup", "backup-off" or "backup-now"
    QString folder;
    QString password;
    int keep = BackupPolicy::defaultKeep;
};

void say(std::FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stream);
}

std::optional<QString> newPassword()
{
    const auto password = TerminalInput::password(QCoreApplication::translate("BackupCommand", "备份密码："));
    if (!password || !TerminalInput::isTerminal())
        return password;
    if (TerminalInput::password(QCoreApplication::translate("BackupCommand", "再次输入密码：")) != password) {
        say(stderr, QCoreApplication::translate("BackupCommand", "两次输入的密码不一致。"));
        return std::nullopt;
    }
    return password;
}

// The read end of a pipe holding the password, so that the call a bus monitor sees does not
// hold it. Invalid when the pipe could not be made.
QDBusUnixFileDescriptor passwordPipe(const QString &password)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return {};
    const QByteArray bytes = password.toUtf8();
    const bool written = write(ends[1], bytes.constData(), bytes.size()) == bytes.size();
    close(ends[1]);
    QDBusUnixFileDescriptor readEnd(written ? ends[0] : -1); // a copy of its own
    close(ends[0]);
    return readEnd;
}

// The outcome in the running instance: empty on success.
QString overBus(const Request &request)
{
    QDBusInterface backup(SingleInstance::serviceName, BackupService::path, BackupService::interfaceName);
    backup.setTimeout(busTimeoutMs);
    const auto outcome = [](const QDBusReply<QString> &reply) {
        return reply.isValid() ? reply.value() : reply.error().message();
    };
    if (request.action == u"backup-off"_s)
        return outcome(backup.call(u"TurnOff"_s));
    if (request.action == u"backup-setup"_s)
        return outcome(
            backup.call(u"SetUp"_s, request.folder, QVariant::fromValue(passwordPipe(request.password)), request.keep));
    return outcome(backup.call(u"BackUpNow"_s));
}

// The outcome on this process's own store, settings and keychain: empty on success.
QString directly(const Request &request)
{
    SecretServiceKeychain keychain;
    QSettings settings;
    TokenStore store(keychain, settings, systemClock);
    AutoBackup backup(store, keychain, settings, TransferLoader::layer, QSysInfo::machineHostName(),
                      std::chrono::milliseconds(0));
    std::optional<QString> outcome;
    const auto backUp = [&] {
        store.refreshCodes(systemClock()); // reads the secrets
        backup.backUpNow([&](const auto &failure) { outcome = failure ? failure->description() : QString(); });
    };
    if (request.action == u"backup-setup"_s) {
        store.refreshCodes(systemClock()); // reads the secrets
        backup.setUp(request.folder, request.password, request.keep,
                     [&](const auto &set) { outcome = set ? QString() : set.error(); });
    } else if (request.action == u"backup-off"_s) {
        backup.turnOff([&] { outcome = QString(); });
    } else {
        backUp();
    }
    while (!outcome)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return *outcome;
}

bool instanceRuns()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(SingleInstance::serviceName);
}

QString success(const Request &request)
{
    if (request.action == u"backup-setup"_s)
        return QCoreApplication::translate("BackupCommand", "自动备份已开启：%1")
            .arg(QDir::toNativeSeparators(request.folder));
    if (request.action == u"backup-off"_s)
        return QCoreApplication::translate("BackupCommand", "自动备份已关闭。");
    return QCoreApplication::translate("BackupCommand", "备份已写入并通过校验。");
}

} // namespace

namespace BackupCommand {

std::optional<int> runIfAsked(int argc, char *argv[])
{
    const QStringList actions{u"backup-setup"_s, u"backup-off"_s, u"backup-now"_s};
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        for (const QString &action : actions)
            asked = asked || argument == u"--"_s + action || argument.startsWith(u"--"_s + action + u'=');
    }
    if (!asked)
        return std::nullopt;
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(u"Corvane"_s);
    QCoreApplication::setOrganizationName(u"Corvane"_s);
    QtTranslation::install(application, QtTranslation::languageFor(QLocale::system().uiLanguages()));

    QCommandLineParser options;
    options.addOptions({{u"backup-setup"_s, {}, QCoreApplication::translate("BackupCommand", "文件夹")},
                        {u"backup-keep"_s, {}, QCoreApplication::translate("BackupCommand", "份数")},
                        {u"backup-off"_s, {}},
                        {u"backup-now"_s, {}}});
    Request request;
    const auto chosen = [&](const QString &action) { return options.isSet(action); };
    if (!options.parse(application.arguments()) || std::ranges::count_if(actions, chosen) != 1
        || !options.positionalArguments().isEmpty()) {
        say(stderr, QCoreApplication::translate(
                        "BackupCommand",
                        "用法：corvane --backup-setup 文件夹 [--backup-keep 份数] | --backup-off | --backup-now"));
        return usageError;
    }
    request.action = *std::ranges::find_if(actions, chosen);
    if (request.action == u"backup-setup"_s) {
        request.folder = QDir(options.value(u"backup-setup"_s)).absolutePath();
        request.keep = options.isSet(u"backup-keep"_s) ? options.value(u"backup-keep"_s).toInt() : request.keep;
        const auto password = newPassword();
        if (!password)
            return usageError;
        request.password = *password;
    }
    const QString failure = instanceRuns() ? overBus(request) : directly(request);
    if (!failure.isEmpty()) {
        say(stderr, failure);
        return failed;
    }
    say(stdout, success(request));
    return done;
}

} // namespace BackupCommand
