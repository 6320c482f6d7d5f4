#include "app/BackupCommand.h"
#include "app/CodeCommand.h"
#include "app/CorvaneApp.h"
#include "app/DeriveKeyCommand.h"
#include "app/InspectCommand.h"
#include "app/QtTranslation.h"
#include "app/SingleInstance.h"
#include "store/SecretServiceKeychain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSettings>
#include <QThreadPool>

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

#include <memory>

#include <cstdio>
#include <cstdlib>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

// Wayland gives clients neither window positions nor always-on-top, so a session that
// also offers X11 runs the panel through XWayland unless a platform was chosen.
static void preferX11UnderWayland()
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// Secrets live in this process's memory: no core dumps, no other process of the same user
// attaching to it, and nothing it writes readable by anyone else.
static void harden()
{
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    prctl(PR_SET_DUMPABLE, 0);
    umask(077);
}

static QList<QCommandLineOption> addOptions(QCommandLineParser &options)
{
    options.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "在置顶小窗中显示两步验证码（TOTP）。"));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(
        {u"hidden"_s, QCoreApplication::translate("CommandLine", "启动时不显示浮窗（用于登录时自动启动）。")});
    // For keys bound in the desktop's own settings, where it offers no global shortcut.
    const QList<QCommandLineOption> actions{
        {u"toggle"_s, QCoreApplication::translate("CommandLine", "显示或隐藏正在运行的岚签的浮窗（未运行时启动它）。")},
        {u"show"_s, QCoreApplication::translate("CommandLine", "显示正在运行的岚签的浮窗（未运行时启动它）。")},
        {u"hide"_s, QCoreApplication::translate("CommandLine", "隐藏正在运行的岚签的浮窗。")},
    };
    options.addOptions(actions);
    // Run before the panel starts, by CodeCommand, InspectCommand and BackupCommand; listed here for --help.
    options.addOptions({
        {u"code"_s,
         QCoreApplication::translate("CommandLine",
                                     "打印发行方或名称与查询匹配的唯一账户的当前验证码（多个匹配时以 2 退出）。"),
         QCoreApplication::translate("CommandLine", "查询")},
        {u"list"_s, QCoreApplication::translate("CommandLine", "列出账户：每行为发行方、名称和类型，以制表符分隔。")},
        {u"inspect"_s, QCoreApplication::translate("CommandLine", "检查备份而不导入：每个账户一行，从不显示密钥。"),
         QCoreApplication::translate("CommandLine", "文件")},
        {u"backup-setup"_s,
         QCoreApplication::translate("CommandLine", "在此文件夹中开启自动备份（密码从终端或标准输入读取）。"),
         QCoreApplication::translate("CommandLine", "文件夹")},
        {u"backup-keep"_s,
         QCoreApplication::translate("CommandLine", "与 --backup-setup 一起使用：保留的备份份数（默认 10，至少 3）。"),
         QCoreApplication::translate("CommandLine", "份数")},
        {u"backup-off"_s, QCoreApplication::translate("CommandLine", "关闭自动备份。")},
        {u"backup-now"_s, QCoreApplication::translate("CommandLine", "立即写入一份备份；通过校验时才以 0 退出。")},
    });
    options.addPositionalArgument(
        QCoreApplication::translate("CommandLine", "文件"),
        QCoreApplication::translate(
            "CommandLine", "要导入的备份：Aegis、2FAS、Ente Auth、andOTP、FreeOTP+、Authenticator Pro、"
                           "Bitwarden 或 Proton Authenticator 的备份或导出，Steam maFile，或 otpauth 链接列表。"),
        QCoreApplication::translate("CommandLine", "[文件…]"));
    return actions;
}

// Help, the version, a mistyped option and --hide never show a window, so they run without
// a display (in a terminal over ssh, say).
static bool needsWindows(int argc, char *argv[])
{
    QCommandLineParser options;
    addOptions(options);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!options.parse(arguments))
        return false;
    for (const QString &name : {u"help"_s, u"help-all"_s, u"version"_s, u"hide"_s}) {
        if (options.isSet(name))
            return false;
    }
    return true;
}

int main(int argc, char *argv[])
{
    harden();
    if (const auto coded = CodeCommand::runIfAsked(argc, argv))
        return *coded;
    if (const auto derived = DeriveKeyCommand::runIfAsked(argc, argv))
        return *derived;
    if (const auto inspected = InspectCommand::runIfAsked(argc, argv))
        return *inspected;
    if (const auto backedUp = BackupCommand::runIfAsked(argc, argv))
        return *backedUp;
    preferX11UnderWayland();
    std::unique_ptr<QCoreApplication> app;
    if (needsWindows(argc, argv))
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(u"Corvane"_s);
    QCoreApplication::setOrganizationName(u"Corvane"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    QtTranslation::install(*app, QtTranslation::languageFor(QLocale::system().uiLanguages()));
    // Qt's option texts are translated as they are added, so after the catalogue.
    QCommandLineParser options;
    const QList<QCommandLineOption> actions = addOptions(options);
    options.process(*app);

    // Files named on the command line ("Open with" from a file manager) are imported, by
    // the instance already running when there is one.
    QStringList files;
    for (const QString &argument : options.positionalArguments())
        files << QUrl::fromLocalFile(QFileInfo(argument).absoluteFilePath()).toString();

    QString action;
    for (const QCommandLineOption &option : actions) {
        if (options.isSet(option))
            action = option.names().constFirst();
    }

    SingleInstance instance;
    if (!instance.claim(files, action)) {
        if (!instance.refusal().isEmpty()) {
            std::fputs(qPrintable(instance.refusal() + u'\n'), stderr);
            return 1;
        }
        if (instance.notifiedRunning())
            return 0;
        std::fputs(qPrintable(QCoreApplication::translate("CommandLine", "岚签已在运行，但没有响应。") + u'\n'),
                   stderr);
        return 1;
    }
    if (action == u"hide"_s) // no panel to hide
        return 0;
    QApplication::setApplicationDisplayName(QCoreApplication::translate("CommandLine", "岚签"));
    QApplication::setDesktopFileName(u"org.corvane.Corvane"_s);
    QApplication::setQuitOnLastWindowClosed(false);

    // Connected before the app's own handlers, so it runs first.
    QObject::connect(app.get(), &QCoreApplication::aboutToQuit, &instance, &SingleInstance::release);
    int code = 0;
    {
        QSettings settings;
        // A file written by an older build may be readable by others.
        if (QFile::exists(settings.fileName()))
            QFile::setPermissions(settings.fileName(), QFile::ReadOwner | QFile::WriteOwner);
        SecretServiceKeychain keychain;
        CorvaneApp corvane(keychain, settings, options.isSet(u"hidden"_s) && action.isEmpty());
        QObject::connect(&instance, &SingleInstance::showRequested, &corvane, &CorvaneApp::showPanel);
        QObject::connect(&instance, &SingleInstance::openRequested, &corvane, &CorvaneApp::openFiles);
        QObject::connect(&instance, &SingleInstance::actionRequested, &corvane, &CorvaneApp::runAction);
        if (!files.isEmpty())
            corvane.openFiles(files);
        code = QApplication::exec();
    }
    // Everything is saved by now. A worker still parsing a file or deriving a key holds
    // nothing to keep, and the application's destructor would wait for it.
    if (QThreadPool::globalInstance()->activeThreadCount() > 0) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
