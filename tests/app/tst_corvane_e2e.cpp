// Corvane from end to end: the real binary on a private X server with a window manager
// and a tray, against the Secret Service of the test run, driven with xdotool and xclip
// as a person would. oathtool and secret-tool are the outside references.
// Secrets stay in variables: failures report codes, ids and window state only.
#include "XvfbSession.h"

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

const QString panelTitle = u"岚签"_s;
const QString keychainService = u"com.local.Corvane"_s;
constexpr int launchTimeoutMs = 30000;
constexpr int commandTimeoutMs = 15000;

// The panel's geometry: the launch frame, the header and the first row's delete button.
const QSize launchSize(330, 152);
constexpr int cornerInset = 20;
constexpr int headerHeight = 44;
constexpr int dividerHeight = 1;
constexpr int rowMainLineHeight = 60;
constexpr int deleteButtonSize = 28;
constexpr int deleteButtonRightPadding = 10;
// An empty spot of the header, between the title and the buttons.
const QPoint headerSpot(100, headerHeight / 2);

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct Window
{
    QString id;
    QRect geometry;
    bool viewable = false;
};

// A Base32 secret of 160 random bits, new for every account so that none is a duplicate.
QString newSecret()
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    QString secret;
    for (int i = 0; i < 32; ++i)
        secret += QLatin1Char(alphabet[QRandomGenerator::system()->bounded(32)]);
    return secret;
}

qint64 timeStep(qint64 secondsAgo = 0)
{
    return (QDateTime::currentSecsSinceEpoch() - secondsAgo) / 30;
}

bool isCode(const QString &text)
{
    static const QRegularExpression digits(u"^[0-9]{6}$"_s);
    return digits.match(text).hasMatch();
}

} // namespace

// Runs a helper that checks as it goes, and ends the test function when it failed.
#define STEP(call)                                                                                                     \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

class TestCorvaneE2E : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XvfbSession> m_session;
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QProcess> m_app;
    // xclip processes serving the clipboard: each ends when another owner takes over.
    std::vector<std::unique_ptr<QProcess>> m_clipboardOwners;
    QString m_panel;

    // In CI a missing piece of the environment is a failure, elsewhere a reason to skip.
    static bool ciRequiresEverything() { return qEnvironmentVariable("CI") == u"true"_s; }

    QProcessEnvironment appEnvironment() const
    {
        QProcessEnvironment environment = m_session->environment();
        // Private settings and single-instance lock and socket; the session bus is shared.
        environment.insert(u"XDG_CONFIG_HOME"_s, m_home->filePath(u"config"_s));
        environment.insert(u"XDG_RUNTIME_DIR"_s, m_home->filePath(u"run"_s));
        environment.insert(u"TMPDIR"_s, m_home->filePath(u"tmp"_s));
        if (!environment.contains(u"LSAN_OPTIONS"_s))
            environment.insert(u"LSAN_OPTIONS"_s, u"suppressions=" CORVANE_LSAN_SUPPRESSIONS ""_s);
        return environment;
    }

    Result run(const QString &program, const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess process;
        process.setProcessEnvironment(m_session->environment());
        process.start(program, arguments);
        Result result;
        if (!process.waitForStarted(commandTimeoutMs))
            return result;
        if (!input.isEmpty())
            process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(commandTimeoutMs)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }
    QString xdotool(const QStringList &arguments) const
    {
        return QString::fromUtf8(run(u"xdotool"_s, arguments).out).trimmed();
    }

    // --- the application -------------------------------------------------------------

    void launch()
    {
        m_app = std::make_unique<QProcess>();
        m_app->setProcessEnvironment(appEnvironment());
        m_app->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_app->start(QStringLiteral(CORVANE_BINARY), {});
        QVERIFY2(m_app->waitForStarted(launchTimeoutMs), qPrintable(m_app->errorString()));
        m_panel = findPanel(launchTimeoutMs);
        QVERIFY2(!m_panel.isEmpty(), "the panel was not shown");
    }
    // A second launch in the same environment: it asks the running one to show its
    // panel and leaves. Returns its exit code (-1 when it crashed or hung).
    int launchAgain()
    {
        QProcess second;
        second.setProcessEnvironment(appEnvironment());
        second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        second.start(QStringLiteral(CORVANE_BINARY), {});
        if (!second.waitForStarted(launchTimeoutMs) || !second.waitForFinished(launchTimeoutMs)) {
            second.kill();
            second.waitForFinished();
            return -1;
        }
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }
    // Waits for the app to end by itself; its exit code, or -1 if it crashed or hung.
    int waitForExit()
    {
        if (!m_app->waitForFinished(launchTimeoutMs))
            return -1;
        return m_app->exitStatus() == QProcess::NormalExit ? m_app->exitCode() : -1;
    }
    void quitWithCtrlQ()
    {
        STEP(focusPanel());
        key(u"ctrl+q"_s);
        QCOMPARE(waitForExit(), 0);
    }

    // --- windows -----------------------------------------------------------------------

    Window window(const QString &id) const
    {
        Window result{id, {}, false};
        const QString info = QString::fromUtf8(run(u"xwininfo"_s, {u"-id"_s, id}).out);
        const auto field = [&info](const QString &name) {
            const QRegularExpression pattern(u"^\\s*"_s + QRegularExpression::escape(name) + u":\\s*(-?\\d+)"_s,
                                             QRegularExpression::MultilineOption);
            return pattern.match(info).captured(1).toInt();
        };
        result.geometry = {field(u"Absolute upper-left X"_s), field(u"Absolute upper-left Y"_s), field(u"Width"_s),
                           field(u"Height"_s)};
        result.viewable = info.contains(u"Map State: IsViewable"_s);
        return result;
    }
    // The app's panel window: titled like the app, and wide (its other windows, the
    // tray icon's among them, are small).
    QString findPanel(int timeoutMs) const
    {
        for (QDeadlineTimer deadline(timeoutMs); !deadline.hasExpired(); QTest::qWait(100)) {
            if (m_app->state() != QProcess::Running)
                return {};
            const QStringList ids = xdotool({u"search"_s, u"--pid"_s, QString::number(m_app->processId()), u"--name"_s,
                                             u"^"_s + panelTitle + u"$"_s})
                                        .split(u'\n', Qt::SkipEmptyParts);
            for (const QString &id : ids) {
                const Window candidate = window(id);
                if (candidate.viewable && candidate.geometry.width() >= 300)
                    return id;
            }
        }
        return {};
    }
    // The panel's frame once it has stopped changing: openbox shows a window for a
    // moment at a provisional place, and the panel animates when it grows.
    QRect settledGeometry() const
    {
        QRect geometry = window(m_panel).geometry;
        int sameReads = 0;
        for (QDeadlineTimer deadline(10000); sameReads < 3 && !deadline.hasExpired(); QTest::qWait(100)) {
            const QRect now = window(m_panel).geometry;
            sameReads = now == geometry ? sameReads + 1 : 0;
            geometry = now;
        }
        return geometry;
    }
    QString describePanel() const
    {
        const Window panel = window(m_panel);
        return u"panel %1 at %2,%3 %4x%5 %6, active window %7"_s.arg(m_panel)
            .arg(panel.geometry.x())
            .arg(panel.geometry.y())
            .arg(panel.geometry.width())
            .arg(panel.geometry.height())
            .arg(panel.viewable ? u"viewable"_s : u"not viewable"_s)
            .arg(xdotool({u"getactivewindow"_s}));
    }
    bool panelViewable() const { return window(m_panel).viewable; }

    // --- input -------------------------------------------------------------------------

    void click(const QPoint &global)
    {
        run(u"xdotool"_s, {u"mousemove"_s, QString::number(global.x()), QString::number(global.y()), u"click"_s, u"1"_s});
    }
    // A click on an empty spot of the header makes the panel the active window.
    void focusPanel()
    {
        const QRect frame = settledGeometry();
        click(frame.topLeft() + headerSpot);
        QTRY_COMPARE_WITH_TIMEOUT(xdotool({u"getactivewindow"_s}), m_panel, 10000);
    }
    void key(const QString &keys) { run(u"xdotool"_s, {u"key"_s, keys}); }
    // Drags the panel by the empty spot of its header in small steps, pausing as a hand
    // would so that the window manager takes the move over. Where it takes over depends
    // on its timing, so callers read where the panel ended up.
    void dragPanel(const QPoint &delta)
    {
        const QPoint grab = settledGeometry().topLeft() + headerSpot;
        QStringList arguments{u"mousemove"_s, QString::number(grab.x()), QString::number(grab.y()), u"mousedown"_s,
                              u"1"_s, u"sleep"_s, u"0.3"_s};
        constexpr int steps = 10;
        for (int i = 0; i < steps; ++i)
            arguments << u"mousemove_relative"_s << u"--"_s << QString::number(delta.x() / steps)
                      << QString::number(delta.y() / steps) << u"sleep"_s << u"0.05"_s;
        arguments << u"sleep"_s << u"0.3"_s << u"mouseup"_s << u"1"_s;
        run(u"xdotool"_s, arguments);
    }

    // --- clipboard ---------------------------------------------------------------------

    QString clipboard() const
    {
        return QString::fromUtf8(run(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"clipboard"_s}).out);
    }
    // Puts `text` on the clipboard, served by an xclip of our own until someone else
    // takes the clipboard over.
    void setClipboard(const QString &text)
    {
        auto owner = std::make_unique<QProcess>();
        owner->setProcessEnvironment(m_session->environment());
        owner->start(u"xclip"_s, {u"-quiet"_s, u"-selection"_s, u"clipboard"_s, u"-i"_s});
        QVERIFY2(owner->waitForStarted(commandTimeoutMs), "xclip did not start");
        owner->write(text.toUtf8());
        owner->closeWriteChannel();
        m_clipboardOwners.push_back(std::move(owner));
        QTRY_VERIFY2_WITH_TIMEOUT(clipboard() == text, "the clipboard did not take the text", 10000);
    }
    // The code the app copies for Ctrl+<row>, or an empty text if none came.
    QString copiedCode(int row)
    {
        const QString marker = u"before Ctrl+%1"_s.arg(row);
        setClipboard(marker);
        if (QTest::currentTestFailed())
            return {};
        key(u"ctrl+%1"_s.arg(row));
        QString text;
        for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QTest::qWait(100)) {
            text = clipboard();
            if (text != marker)
                return text;
        }
        return {};
    }

    // --- outside references --------------------------------------------------------------

    QString oathtoolCode(const QString &secret) const
    {
        // The secret goes in on standard input, not on a command line.
        const Result result = run(u"oathtool"_s, {u"--totp"_s, u"-b"_s, u"-"_s}, secret.toLatin1());
        return QString::fromLatin1(result.out).trimmed();
    }
    // Ctrl+<row> copies the code oathtool computes for `secret`. Read again when the
    // time step turned between the two readings (the app refreshes twice a second).
    void verifyCopiedCodeIs(const QString &secret, int row)
    {
        QString copied, expected;
        for (int attempt = 0; attempt < 3; ++attempt) {
            const qint64 before = timeStep(1);
            copied = copiedCode(row);
            expected = oathtoolCode(secret);
            if (before == timeStep())
                break;
        }
        QVERIFY2(isCode(expected), qPrintable(u"oathtool gave \"%1\""_s.arg(expected)));
        QVERIFY2(isCode(copied), qPrintable(u"Ctrl+%1 copied no code; %2"_s.arg(row).arg(describePanel())));
        QCOMPARE(copied, expected);
    }
    // The account ids the Secret Service holds for the app. secret-tool prints each
    // item's secret on standard output and its attributes on standard error; only the
    // attributes are read.
    QStringList keyringAccounts() const
    {
        const Result result = run(u"secret-tool"_s, {u"search"_s, u"--all"_s, u"service"_s, keychainService});
        static const QRegularExpression account(u"^attribute\\.account = (.*)$"_s, QRegularExpression::MultilineOption);
        QStringList ids;
        for (auto it = account.globalMatch(QString::fromUtf8(result.err)); it.hasNext();)
            ids << it.next().captured(1).trimmed();
        return ids;
    }

    // --- settings ----------------------------------------------------------------------

    QString settingsFile() const { return m_home->filePath(u"config/Corvane/Corvane.conf"_s); }
    QStringList savedAccountIds() const
    {
        const QSettings settings(settingsFile(), QSettings::IniFormat);
        QStringList ids;
        const QJsonArray accounts = QJsonDocument::fromJson(settings.value(u"totp.accounts"_s).toByteArray()).array();
        for (const QJsonValue &account : accounts)
            ids << account.toObject().value(u"id"_s).toString();
        return ids;
    }
    QString savedOrigin() const
    {
        return QSettings(settingsFile(), QSettings::IniFormat).value(u"totp.windowOrigin"_s).toString();
    }

    // Adds an account from the clipboard with Ctrl+Shift+V; `id` receives its id.
    void pasteToAdd(const QString &secret, QString *id = nullptr)
    {
        const QStringList before = savedAccountIds();
        STEP(setClipboard(secret));
        STEP(focusPanel());
        key(u"ctrl+shift+v"_s);
        QTRY_COMPARE_WITH_TIMEOUT(savedAccountIds().size(), before.size() + 1, 15000);
        // Paste-to-add takes the secret off the clipboard again.
        QTRY_VERIFY2_WITH_TIMEOUT(clipboard() != secret, "the secret stayed on the clipboard", 10000);
        if (id)
            *id = savedAccountIds().constLast();
    }

    void screenshotOnFailure()
    {
        if (!QTest::currentTestFailed() || !m_session)
            return;
        const QString shot = QDir::temp().filePath(u"corvane-e2e-%1.png"_s.arg(QString::fromLatin1(QTest::currentTestFunction())));
        run(u"import"_s, {u"-window"_s, u"root"_s, shot});
        qInfo("%s; app %s; screenshot %s", qPrintable(describePanel()),
              m_app && m_app->state() == QProcess::Running ? "running" : "not running", qPrintable(shot));
    }

private Q_SLOTS:
    void initTestCase()
    {
        const auto missing = [](const QString &reason) {
            if (ciRequiresEverything())
                QFAIL(qPrintable(reason));
            QSKIP(qPrintable(reason));
        };
        for (const QString &tool : {u"xdotool"_s, u"xclip"_s, u"xwininfo"_s, u"trayer"_s, u"oathtool"_s,
                                    u"secret-tool"_s, u"gdbus"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return missing(tool + u" is not installed"_s);
        }
        m_session = std::make_unique<XvfbSession>();
        QString error;
        if (!m_session->start(&error) || !m_session->startTray(&error))
            return missing(error);
        const Result ping = run(u"gdbus"_s, {u"call"_s, u"--session"_s, u"--dest"_s, u"org.freedesktop.secrets"_s,
                                             u"--object-path"_s, u"/org/freedesktop/secrets"_s, u"--method"_s,
                                             u"org.freedesktop.DBus.Peer.Ping"_s});
        if (ping.exitCode != 0)
            return missing(u"no Secret Service answers on the session bus: "_s + QString::fromLocal8Bit(ping.err));
    }
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        QVERIFY(QDir(m_home->path()).mkpath(u"config"_s));
        QVERIFY(QDir(m_home->path()).mkpath(u"tmp"_s));
        QVERIFY(QDir(m_home->path()).mkpath(u"run"_s));
        QVERIFY(QFile::setPermissions(m_home->filePath(u"run"_s),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    void cleanup()
    {
        screenshotOnFailure();
        if (m_app && m_app->state() != QProcess::NotRunning) {
            m_app->terminate();
            if (!m_app->waitForFinished(launchTimeoutMs)) {
                m_app->kill();
                m_app->waitForFinished();
            }
        }
        m_app.reset();
        for (const auto &owner : m_clipboardOwners) {
            if (owner->state() != QProcess::NotRunning) {
                owner->kill();
                owner->waitForFinished();
            }
        }
        m_clipboardOwners.clear();
        m_panel.clear();
        m_home.reset();
    }
    void cleanupTestCase() { m_session.reset(); }

    void panelAppearsAtTheTopRight()
    {
        STEP(launch());
        const QRect area = m_session->workArea();
        // The tray's strip along the top is not part of the available area.
        QVERIFY2(area.top() > 0, qPrintable(u"work area from y %1"_s.arg(area.top())));
        const QRect frame = settledGeometry();
        const QPoint expected(area.right() + 1 - launchSize.width() - cornerInset, area.top() + cornerInset);
        QVERIFY2(frame.topLeft() == expected,
                 qPrintable(u"%1; expected the top-left at %2,%3"_s.arg(describePanel()).arg(expected.x()).arg(expected.y())));
    }

    void pastedSecretGivesTheCodeOfOathtoolAndCtrl1CopiesIt()
    {
        STEP(launch());
        const QString secret = newSecret();
        QString id;
        STEP(pasteToAdd(secret, &id));
        QVERIFY2(keyringAccounts().contains(id), qPrintable(u"no keyring item for %1"_s.arg(id)));
        STEP(verifyCopiedCodeIs(secret, 1));
    }

    void escapeHidesThePanelAndASecondLaunchShowsIt()
    {
        STEP(launch());
        STEP(focusPanel());
        key(u"Escape"_s);
        QTRY_VERIFY2_WITH_TIMEOUT(!panelViewable(), qPrintable(describePanel()), 10000);
        QCOMPARE(launchAgain(), 0);
        QTRY_VERIFY2_WITH_TIMEOUT(panelViewable(), qPrintable(describePanel()), 10000);
        QCOMPARE(m_app->state(), QProcess::Running);
    }

    void ctrlQQuits()
    {
        STEP(launch());
        STEP(quitWithCtrlQ());
    }

    void aRestartRestoresTheAccountAndThePlace()
    {
        STEP(launch());
        const QString secret = newSecret();
        STEP(pasteToAdd(secret));
        const QPoint start = settledGeometry().topLeft();
        STEP(dragPanel(QPoint(-300, 200)));
        const QPoint moved = settledGeometry().topLeft();
        QVERIFY2(moved.x() < start.x() - 100 && moved.y() > start.y() + 100,
                 qPrintable(u"dragged from %1,%2; %3"_s.arg(start.x()).arg(start.y()).arg(describePanel())));
        // The place is saved a moment after the move ends.
        QTRY_COMPARE_WITH_TIMEOUT(savedOrigin(), u"{%1, %2}"_s.arg(moved.x()).arg(moved.y()), 10000);
        STEP(quitWithCtrlQ());

        STEP(launch());
        QCOMPARE(settledGeometry().topLeft(), moved);
        STEP(focusPanel());
        STEP(verifyCopiedCodeIs(secret, 1));
    }

    void anAccountDeletedJustBeforeQuittingLeavesTheKeyring()
    {
        STEP(launch());
        QString kept, deleted;
        STEP(pasteToAdd(newSecret(), &kept));
        STEP(pasteToAdd(newSecret(), &deleted));
        QVERIFY2(keyringAccounts().contains(deleted), qPrintable(u"no keyring item for %1"_s.arg(deleted)));

        // The second row's delete button.
        const QRect frame = settledGeometry();
        const int rowTop = headerHeight + dividerHeight + 70;
        const QPoint button(frame.width() - deleteButtonRightPadding - deleteButtonSize / 2,
                            rowTop + rowMainLineHeight / 2);
        click(frame.topLeft() + button);
        QTRY_COMPARE_WITH_TIMEOUT(savedAccountIds(), QStringList{kept}, 10000);
        // Still in the keyring while the deletion can be undone; quit within that time.
        QVERIFY2(keyringAccounts().contains(deleted), "the keyring item went before the undo time ran out");
        key(u"ctrl+q"_s);
        QCOMPARE(waitForExit(), 0);

        const QStringList remaining = keyringAccounts();
        QVERIFY2(!remaining.contains(deleted), qPrintable(u"keyring item %1 is still there"_s.arg(deleted)));
        QVERIFY2(remaining.contains(kept), qPrintable(u"keyring item %1 of the kept account is gone"_s.arg(kept)));
    }
};

QTEST_GUILESS_MAIN(TestCorvaneE2E)

#include "tst_corvane_e2e.moc"
