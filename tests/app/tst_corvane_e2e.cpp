// Corvane from end to end: the real binary on a private X server with a window manager,
// first without a tray and then with one, against the Secret Service of the test run,
// driven with xdotool and xclip (texts and QR code images) as a person would. oathtool
// and secret-tool are the outside references.
// Secrets stay in variables: failures report codes, ids and window state only.
#include "support/QrImage.h"
#include "support/Step.h"
#include "support/XvfbSession.h"

#include <QBuffer>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int launchTimeoutMs = 30000;
constexpr int commandTimeoutMs = 15000;

// Spots on the panel: in its 44 px header, an empty one between the title and the buttons and
// the title; from its top-right corner, the second row's delete button (28 px, 10 px in).
const QPoint headerSpot(100, 22), titleSpot(24, 22), deleteSpot(-10 - 28 / 2, 44 + 1 + 70 + 60 / 2);

struct Result
{
    int exitCode = -1;
    QByteArray out, err;
};

// A Base32 secret of 160 random bits, new for every account so that none is a duplicate.
QString newSecret()
{
    QString secret;
    for (int i = 0; i < 32; ++i)
        secret += QLatin1Char("ABCDEFGHIJKLMNOPQRSTUVWXYZ234567"[QRandomGenerator::system()->bounded(32)]);
    return secret;
}

// Waits for `process` to end; its exit code, or -1 when it crashed or hung (then it is killed).
int exitCodeOf(QProcess &process, int timeoutMs = launchTimeoutMs)
{
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

class TestCorvaneE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<XvfbSession> m_session;
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QProcess> m_app;
    // xclip processes serving the clipboard: each ends when another owner takes over.
    std::vector<std::unique_ptr<QProcess>> m_clipboardOwners;
    QString m_panel;
    Result run(const QString &program, const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess process;
        process.setProcessEnvironment(m_session->environment());
        process.start(program, arguments);
        if (!process.waitForStarted(commandTimeoutMs))
            return {};
        process.write(input);
        process.closeWriteChannel();
        return {exitCodeOf(process, commandTimeoutMs), process.readAllStandardOutput(), process.readAllStandardError()};
    }
    QString xdotool(const QStringList &args) const { return QString::fromUtf8(run(u"xdotool"_s, args).out).trimmed(); }
    QString activeWindow() const { return xdotool({u"getactivewindow"_s}); }
    void key(const QString &keys) { xdotool({u"key"_s, keys}); }
    static QStringList xy(const QPoint &at) { return {QString::number(at.x()), QString::number(at.y())}; }
    void click(const QPoint &at) { xdotool(QStringList{u"mousemove"_s} << xy(at) << u"click"_s << u"1"_s); }
    // Starts the app in the test's private home: its settings are its own; the session
    // bus, where the single-instance name lives, and the keyring are shared.
    std::unique_ptr<QProcess> startApp(const QStringList &arguments = {}, const QStringList &unset = {}) const
    {
        QProcessEnvironment environment = m_session->environment();
        for (const QString &name : unset)
            environment.remove(name);
        for (const QString &name : {u"XDG_CONFIG_HOME"_s, u"XDG_RUNTIME_DIR"_s, u"TMPDIR"_s})
            environment.insert(name, m_home->path()); // which only the owner may enter
        if (!environment.contains(u"LSAN_OPTIONS"_s))
            environment.insert(u"LSAN_OPTIONS"_s, u"suppressions=" CORVANE_LSAN_SUPPRESSIONS ""_s);
        // Whole allocation stacks: the suppressions of GLib's and libsecret's own allocations
        // then also match those they make through Qt on their threads, which a quick unwind
        // cuts off at Qt's frames.
        environment.insert(u"ASAN_OPTIONS"_s,
                           environment.value(u"ASAN_OPTIONS"_s, u"detect_leaks=1"_s) + u":fast_unwind_on_malloc=0"_s);
        auto app = std::make_unique<QProcess>();
        app->setProcessEnvironment(environment);
        app->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app->start(QStringLiteral(CORVANE_BINARY), arguments);
        return app;
    }
    void launch(const QStringList &arguments = {})
    {
        m_app = startApp(arguments);
        QVERIFY2(m_app->waitForStarted(launchTimeoutMs), qPrintable(m_app->errorString()));
        if (!arguments.contains(u"--hidden"_s))
            QVERIFY2(!(m_panel = findPanel()).isEmpty(), "the panel was not shown");
    }
    // The app's windows titled like it that are on screen: the panel, a message box.
    QStringList shownWindows() const
    {
        return xdotool({u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(m_app->processId()), u"--name"_s,
                        u"^岚签$"_s})
            .split(u'\n', Qt::SkipEmptyParts);
    }
    QString xwininfo(const QString &id) const { return QString::fromUtf8(run(u"xwininfo"_s, {u"-id"_s, id}).out); }
    bool viewable(const QString &id) const { return xwininfo(id).contains(u"Map State: IsViewable"_s); }
    QRect frame(const QString &id) const
    {
        const QString info = xwininfo(id);
        const auto field = [&info](const QString &name) {
            return QRegularExpression(u"^\\s*"_s + name + u":\\s*(-?\\d+)"_s, QRegularExpression::MultilineOption)
                .match(info)
                .captured(1)
                .toInt();
        };
        return {field(u"Absolute upper-left X"_s), field(u"Absolute upper-left Y"_s), field(u"Width"_s),
                field(u"Height"_s)};
    }
    // The app's panel window: titled like the app, and wide (its other windows, the
    // tray icon's among them, are small).
    QString findPanel() const
    {
        for (QDeadlineTimer deadline(launchTimeoutMs); !deadline.hasExpired(); QTest::qWait(100)) {
            if (m_app->state() != QProcess::Running)
                return {};
            for (const QString &id : shownWindows()) {
                if (frame(id).width() >= 300)
                    return id;
            }
        }
        return {};
    }
    // The panel's frame once it has stopped changing: openbox shows a window for a
    // moment at a provisional place, and the panel animates when it grows.
    QRect settledFrame() const
    {
        QRect geometry = frame(m_panel);
        int sameReads = 0;
        for (QDeadlineTimer deadline(10000); sameReads < 3 && !deadline.hasExpired(); QTest::qWait(100)) {
            const QRect now = frame(m_panel);
            sameReads = now == geometry ? sameReads + 1 : 0;
            geometry = now;
        }
        return geometry;
    }
    // A click on an empty spot of the header makes the panel the active window.
    void focusPanel()
    {
        click(settledFrame().topLeft() + headerSpot);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), m_panel, 10000);
    }
    // Drags the panel by its header in small steps, pausing as a hand would so that the
    // window manager takes the move over. Where it takes over depends on its timing, so
    // callers read where the panel ended up.
    void dragPanel(const QPoint &delta)
    {
        const QPoint grab = settledFrame().topLeft() + headerSpot;
        QStringList arguments = QStringList{u"mousemove"_s} << xy(grab);
        arguments << u"mousedown"_s << u"1"_s << u"sleep"_s << u"0.3"_s;
        for (int i = 0; i < 10; ++i)
            arguments << u"mousemove_relative"_s << u"--"_s << xy(delta / 10) << u"sleep"_s << u"0.05"_s;
        xdotool(arguments << u"sleep"_s << u"0.3"_s << u"mouseup"_s << u"1"_s);
    }
    QString clipboard() const { return QString::fromUtf8(run(u"xclip"_s, {u"-o"_s, u"-sel"_s, u"clip"_s}).out); }
    // Puts `data` of the MIME type on the clipboard, served by an xclip of our own until
    // someone else takes the clipboard over.
    void setClipboard(const QByteArray &data, const QString &type = u"UTF8_STRING"_s)
    {
        QProcess &owner = *m_clipboardOwners.emplace_back(std::make_unique<QProcess>());
        owner.setProcessEnvironment(m_session->environment());
        owner.start(u"xclip"_s, {u"-quiet"_s, u"-selection"_s, u"clipboard"_s, u"-t"_s, type, u"-i"_s});
        QVERIFY2(owner.waitForStarted(commandTimeoutMs), "xclip did not start");
        owner.write(data);
        owner.closeWriteChannel();
        QTRY_VERIFY2_WITH_TIMEOUT(run(u"xclip"_s, {u"-o"_s, u"-sel"_s, u"clip"_s, u"-t"_s, type}).out == data,
                                  "the clipboard did not take it", 10000);
    }
    void setClipboard(const QString &text) { setClipboard(text.toUtf8()); }
    // Ctrl+`row` copies the code oathtool computes for `secret` at the press, or the next time
    // step's when it turned meanwhile (the app refreshes twice a second).
    void verifyCtrlCopies(const QString &secret, int row = 1)
    {
        STEP(setClipboard(u"before Ctrl+1"_s));
        const qint64 pressed = QDateTime::currentSecsSinceEpoch() - 1;
        key(u"ctrl+%1"_s.arg(row));
        QString copied;
        for (QDeadlineTimer deadline(10000); copied.isEmpty() && !deadline.hasExpired(); QTest::qWait(100)) {
            if (const QString text = clipboard(); text != u"before Ctrl+1"_s)
                copied = text;
        }
        // The secret goes in on standard input, not on a command line.
        const QStringList arguments{u"--totp"_s, u"-b"_s, u"-w"_s, u"1"_s, u"-N"_s, u"@%1"_s.arg(pressed), u"-"_s};
        const QString codes = QString::fromLatin1(run(u"oathtool"_s, arguments, secret.toLatin1()).out).simplified();
        QVERIFY2(codes.split(u' ', Qt::SkipEmptyParts).contains(copied),
                 qPrintable(u"copied \"%1\", oathtool gave \"%2\""_s.arg(copied, codes)));
    }
    // The account ids the Secret Service holds for the app. secret-tool prints each
    // item's secret on standard output and its attributes on standard error; only the
    // attributes are read.
    QStringList keyringAccounts() const
    {
        const Result result = run(u"secret-tool"_s, {u"search"_s, u"--all"_s, u"service"_s, u"com.local.Corvane"_s});
        static const QRegularExpression account(u"^attribute\\.account = (.*)$"_s, QRegularExpression::MultilineOption);
        QStringList ids;
        for (auto it = account.globalMatch(QString::fromUtf8(result.err)); it.hasNext();)
            ids << it.next().captured(1).trimmed();
        return ids;
    }
    QVariant setting(const QString &key) const
    {
        return QSettings(m_home->filePath(u"Corvane/Corvane.conf"_s), QSettings::IniFormat).value(key);
    }
    QStringList savedAccountIds() const
    {
        QStringList ids;
        for (const QJsonValue &account : QJsonDocument::fromJson(setting(u"totp.accounts"_s).toByteArray()).array())
            ids << account.toObject().value(u"id"_s).toString();
        return ids;
    }
    // Adds an account from the clipboard with Ctrl+Shift+V; `id` receives its id. A secret is
    // added at once and taken off the clipboard again; a QR code image opens the add sheet
    // filled in from the code, and Return adds.
    void addFromClipboard(const QString &secret, bool asQrImage, QString &id, const QString &link = {})
    {
        const qsizetype before = savedAccountIds().size();
        QByteArray png;
        QBuffer buffer(&png);
        qrImage(link.isEmpty() ? u"otpauth://totp/Example:qr@example.org?secret=%1&issuer=Example"_s.arg(secret) : link,
                4)
            .save(&buffer, "PNG");
        STEP(asQrImage ? setClipboard(png, u"image/png"_s) : setClipboard(secret));
        STEP(focusPanel());
        key(u"ctrl+shift+v"_s);
        if (asQrImage) {
            QTRY_VERIFY2_WITH_TIMEOUT(activeWindow() != m_panel, "no add sheet took the focus", 10000);
            key(u"Return"_s);
        }
        QTRY_COMPARE_WITH_TIMEOUT(savedAccountIds().size(), before + 1, 15000);
        QTRY_VERIFY2_WITH_TIMEOUT(clipboard() != secret, "the secret stayed on the clipboard", 10000);
        id = savedAccountIds().constLast();
        QVERIFY2(keyringAccounts().contains(id), qPrintable(u"no keyring item for %1"_s.arg(id)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // In CI a missing piece of the environment is a failure, elsewhere a reason to skip.
        const auto missing = [](const QString &reason) {
            if (qEnvironmentVariable("CI") == u"true"_s)
                QFAIL(qPrintable(reason));
            QSKIP(qPrintable(reason));
        };
        for (const QString &tool : {u"xdotool"_s, u"xclip"_s, u"xwininfo"_s, u"xmessage"_s, u"trayer"_s, u"oathtool"_s,
                                    u"secret-tool"_s, u"gdbus"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return missing(tool + u" is not installed"_s);
        }
        m_session = std::make_unique<XvfbSession>();
        QString error;
        if (!m_session->start(&error))
            return missing(error);
        const auto call = [this](const QString &destination, const QString &path, const QString &method) {
            return run(u"gdbus"_s, {u"call"_s, u"--session"_s, u"--dest"_s, destination, u"--object-path"_s, path,
                                    u"--method"_s, method});
        };
        const Result ping =
            call(u"org.freedesktop.secrets"_s, u"/org/freedesktop/secrets"_s, u"org.freedesktop.DBus.Peer.Ping"_s);
        if (ping.exitCode != 0)
            return missing(u"no Secret Service answers on the session bus: "_s + QString::fromLocal8Bit(ping.err));
        // A service the host has installed, started by the app's call, could keep it waiting.
        const Result activatable =
            call(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s, u"org.freedesktop.DBus.ListActivatableNames"_s);
        if (activatable.out.trimmed() != "(['org.freedesktop.DBus'],)")
            return missing(u"the session bus starts services on demand; run through scripts/with-keyring"_s);
    }
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
    }
    void cleanup()
    {
        if (QTest::currentTestFailed() && m_session) {
            const QString shot = QDir::temp().filePath(u"corvane-e2e.png"_s);
            run(u"import"_s, {u"-window"_s, u"root"_s, shot});
            QDebug(QtInfoMsg).nospace() << "panel " << m_panel << " at " << frame(m_panel)
                                        << (viewable(m_panel) ? " viewable" : " not viewable") << ", active window "
                                        << activeWindow() << "; app running "
                                        << (m_app && m_app->state() == QProcess::Running) << "; screenshot " << shot;
        }
        if (m_app && m_app->state() != QProcess::NotRunning) {
            m_app->terminate();
            exitCodeOf(*m_app);
        }
        m_app.reset();
        for (const auto &owner : m_clipboardOwners) {
            owner->kill();
            owner->waitForFinished();
        }
        m_clipboardOwners.clear();
        m_home.reset();
    }
    void cleanupTestCase() { m_session.reset(); }

    // Qt's own texts are Chinese too: the command line's help, for one. It needs no display.
    void helpIsInChinese()
    {
        const auto help = startApp({u"--help"_s}, {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s});
        QCOMPARE(exitCodeOf(*help), 0);
        const QString text = QString::fromUtf8(help->readAllStandardOutput());
        QVERIFY2(text.contains(u"用法："_s) && text.contains(u"在命令行选项上显示帮助。"_s), qPrintable(text));
    }

    // Without a tray: started hidden, as at login, and called with the global shortcut;
    // the title menu holds the tray's commands; the first hide says how to come back.
    void withoutTray()
    {
        STEP(launch({u"--hidden"_s}));
        QTest::qWait(2000);
        QVERIFY2(shownWindows().isEmpty(), "--hidden showed the panel");
        // The shortcut works once the app has grabbed it; a press that shows the panel ends the wait.
        for (QDeadlineTimer deadline(launchTimeoutMs); m_panel.isEmpty() && !deadline.hasExpired();) {
            key(u"ctrl+alt+k"_s);
            for (QDeadlineTimer shown(1500); m_panel.isEmpty() && !shown.hasExpired(); QTest::qWait(100))
                m_panel = shownWindows().value(0);
        }
        QVERIFY2(!m_panel.isEmpty(), "Ctrl+Alt+K did not show the panel");
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), m_panel, 10000);
        key(u"ctrl+alt+k"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!viewable(m_panel), 10000);
        // Hidden for the first time: a message says how to bring the panel back.
        QTRY_COMPARE_WITH_TIMEOUT(shownWindows().size(), 1, 10000);
        key(u"ctrl+alt+k"_s);
        QTRY_VERIFY_WITH_TIMEOUT(viewable(m_panel), 10000);

        // 复制后清除剪贴板 → 不自动清除, by keyboard: past 隐藏验证码, export, import, the contact item,
        // 显示浮窗 and the shortcut line, into the submenu and down to its last item.
        xdotool(QStringList{u"mousemove"_s} << xy(settledFrame().topLeft() + titleSpot) << u"click"_s << u"3"_s);
        QTest::qWait(1000);
        for (const QString &keys : {u"Down Down Down Down Down Down Right"_s, u"Down Down Down Down Return"_s}) {
            xdotool(QStringList{u"key"_s, u"--delay"_s, u"200"_s} << keys.split(u' '));
            QTest::qWait(500);
        }
        QTRY_COMPARE_WITH_TIMEOUT(setting(u"totp.clipboardClearDelay"_s).toInt(), 0, 10000);
        // The settings file this first run created is for its owner's eyes only.
        const QFileInfo settingsFile(m_home->filePath(u"Corvane/Corvane.conf"_s));
        QCOMPARE(settingsFile.permissions() & 0x0077, QFileDevice::Permissions());
    }

    // With its codes hidden, Ctrl+2 still copies. The screensaver's lock hides the panel and
    // takes the code off the clipboard; its unlock brings the panel back.
    void sessionLock()
    {
        // The desktop's screensaver: it only needs its name, and sends the signal.
        QDBusConnection screenSaver = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"screensaver"_s);
        const auto release = qScopeGuard([] { QDBusConnection::disconnectFromBus(u"screensaver"_s); });
        QVERIFY(screenSaver.registerService(u"org.freedesktop.ScreenSaver"_s));
        const auto setActive = [&screenSaver](bool active) {
            screenSaver.send(QDBusMessage::createSignal(u"/org/freedesktop/ScreenSaver"_s,
                                                        u"org.freedesktop.ScreenSaver"_s, u"ActiveChanged"_s)
                             << active);
        };
        QSettings(m_home->filePath(u"Corvane/Corvane.conf"_s), QSettings::IniFormat)
            .setValue(u"totp.hideCodes"_s, true);
        STEP(launch());
        const QString first = newSecret(), second = newSecret();
        QString id;
        STEP(addFromClipboard(first, false, id));
        STEP(addFromClipboard(second, false, id));
        STEP(verifyCtrlCopies(second, 2));

        setActive(true);
        QTRY_VERIFY_WITH_TIMEOUT(!viewable(m_panel), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(clipboard(), QString(), 10000);
        setActive(false);
        QTRY_VERIFY_WITH_TIMEOUT(viewable(m_panel), 10000);
    }

    // Ctrl+1 copies what the clipboard then holds, once it changes.
    QString copiedByCtrl1()
    {
        setClipboard(u"before Ctrl+1"_s);
        if (QTest::currentTestFailed())
            return {};
        key(u"ctrl+1"_s);
        for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QTest::qWait(100)) {
            if (const QString text = clipboard(); text != u"before Ctrl+1"_s)
                return text;
        }
        return {};
    }

    // A counter-based account scanned with counter 9 gives the codes of 9 and 10, and after a
    // restart 11; killed right after its code was copied, it never gives that code again.
    // Codes: `oathtool --hotp -b -c N JBSWY3DPEHPK3PXP`.
    void counterAccountAcrossRestarts()
    {
        STEP(launch());
        QString id;
        const QString secret = u"JBSWY3DPEHPK3PXP"_s;
        STEP(addFromClipboard(secret, true, id, u"otpauth://hotp/Ex:al?secret=%1&counter=9"_s.arg(secret)));
        STEP(focusPanel());
        QCOMPARE(copiedByCtrl1(), u"924769"_s);
        QCOMPARE(copiedByCtrl1(), u"930313"_s);
        key(u"ctrl+q"_s);
        QCOMPARE(exitCodeOf(*m_app), 0);
        STEP(launch());
        STEP(focusPanel());
        QCOMPARE(copiedByCtrl1(), u"288090"_s);
        m_app->kill();
        m_app->waitForFinished();
        STEP(launch());
        STEP(focusPanel());
        QCOMPARE(copiedByCtrl1(), u"286296"_s);
    }

    // Set up from a terminal while the panel runs: the running instance takes the request over
    // the bus, the password through a pipe, and writes the first backup.
    void backupSetUpReachesTheRunningPanel()
    {
        STEP(launch());
        QTemporaryDir folder;
        const auto setUp = startApp({u"--backup-setup"_s, folder.path()});
        setUp->write("correct horse battery\n");
        setUp->closeWriteChannel();
        QCOMPARE(exitCodeOf(*setUp), 0);
        QCOMPARE(QDir(folder.path()).entryList({u"corvane-backup-*.json"_s}).size(), 1);
        QCOMPARE(exitCodeOf(*startApp({u"--backup-off"_s})), 0);
    }

    // One person's use: the panel at the top-right, paste-to-add and Ctrl+1, a QR code
    // image pasted and Ctrl+2, Escape and a second launch, a move, Ctrl+Q; a restart that
    // brings back the accounts and the place; then the scanned account deleted just before
    // quitting, which leaves the keyring.
    void endToEnd()
    {
        QString error;
        QVERIFY2(m_session->startTray(&error), qPrintable(error));
        // A window in use, which keeps the keyboard while the app starts.
        QProcess inUse;
        inUse.setProcessEnvironment(m_session->environment());
        inUse.start(u"xmessage"_s, {u"-title"_s, u"in-use"_s, u"-geometry"_s, u"+20+600"_s, u"in use"_s});
        const QString inUseWindow = xdotool({u"search"_s, u"--sync"_s, u"--name"_s, u"^in-use$"_s});
        xdotool({u"windowactivate"_s, u"--sync"_s, inUseWindow});
        STEP(launch());
        QCOMPARE(activeWindow(), inUseWindow);
        const QRect area = m_session->workArea();
        // The tray's strip along the top is not part of the available area.
        QVERIFY2(area.top() > 0, qPrintable(u"work area from y %1"_s.arg(area.top())));
        // The launch frame, 330 px wide, 20 px in from the area's top-right corner.
        QCOMPARE(settledFrame().topLeft(), QPoint(area.right() + 1 - 330 - 20, area.top() + 20));

        const QString secret = newSecret();
        QString kept, deleted;
        STEP(addFromClipboard(secret, false, kept));
        STEP(verifyCtrlCopies(secret));
        // F2 renames the list's row; once the sheet closes the keys are the panel's again.
        key(u"F2"_s);
        QTRY_VERIFY_WITH_TIMEOUT(activeWindow() != m_panel, 10000);
        key(u"Escape"_s);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), m_panel, 10000);
        STEP(verifyCtrlCopies(secret));
        const QString scanned = newSecret();
        STEP(addFromClipboard(scanned, true, deleted));
        STEP(focusPanel());
        STEP(verifyCtrlCopies(scanned, 2));

        STEP(focusPanel());
        key(u"Escape"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!viewable(m_panel), 10000);
        key(u"ctrl+alt+k"_s);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), m_panel, 10000);
        key(u"ctrl+alt+k"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!viewable(m_panel), 10000);
        // A second launch asks the running one to show its panel, without the keyboard, and leaves.
        QCOMPARE(exitCodeOf(*startApp()), 0);
        QTRY_VERIFY_WITH_TIMEOUT(viewable(m_panel), 10000);
        QCOMPARE(m_app->state(), QProcess::Running);
        QTest::qWait(500);
        QVERIFY(activeWindow() != m_panel);

        const QPoint start = settledFrame().topLeft();
        STEP(dragPanel(QPoint(-300, 200)));
        const QPoint moved = settledFrame().topLeft();
        QVERIFY2(moved.x() < start.x() - 100 && moved.y() > start.y() + 100,
                 qPrintable(u"dragged from %1,%2"_s.arg(start.x()).arg(start.y())));
        // The place is saved a moment after the move ends.
        const QString origin = u"{%1, %2}"_s.arg(moved.x()).arg(moved.y());
        QTRY_COMPARE_WITH_TIMEOUT(setting(u"totp.windowOrigin"_s).toString(), origin, 10000);
        STEP(focusPanel());
        key(u"ctrl+q"_s);
        QCOMPARE(exitCodeOf(*m_app), 0);

        STEP(launch());
        QCOMPARE(settledFrame().topLeft(), moved);
        STEP(focusPanel());
        STEP(verifyCtrlCopies(secret));
        // Keyboard only: Delete takes the current row, Tab reaches 撤销 and Return brings it back.
        key(u"Delete"_s);
        QTRY_COMPARE_WITH_TIMEOUT(savedAccountIds(), QStringList{deleted}, 10000);
        xdotool({u"key"_s, u"--delay"_s, u"200"_s, u"Tab"_s, u"Return"_s});
        QTRY_COMPARE_WITH_TIMEOUT(savedAccountIds(), (QStringList{kept, deleted}), 10000);

        click(settledFrame().topRight() + QPoint(1, 0) + deleteSpot);
        QTRY_COMPARE_WITH_TIMEOUT(savedAccountIds(), QStringList{kept}, 10000);
        // Still in the keyring while the deletion can be undone; quit within that time.
        QVERIFY2(keyringAccounts().contains(deleted), "the keyring item went before the undo time ran out");
        key(u"ctrl+q"_s);
        QCOMPARE(exitCodeOf(*m_app), 0);
        const QStringList remaining = keyringAccounts();
        QVERIFY2(!remaining.contains(deleted), qPrintable(u"keyring item %1 is still there"_s.arg(deleted)));
        QVERIFY2(remaining.contains(kept), qPrintable(u"keyring item %1 of the kept account is gone"_s.arg(kept)));
        inUse.kill();
        inUse.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestCorvaneE2E)

#include "tst_corvane_e2e.moc"
