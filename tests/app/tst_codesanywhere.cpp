// Codes outside the panel, from the real binary on a private X server against the run's
// keyring: GNOME Shell's search provider and KRunner's runner over the bus, `--code` and
// `--list` with and without a running instance, and codes typed into an xterm running cat by
// XTest, in a US and a German layout. oathtool is the outside reference for TOTP codes.
// Secrets stay in variables: failures show codes, names and exit codes only.
#include "engine/TOTPGenerator.h"
#include "store/SecretServiceKeychain.h"
#include "store/TokenAccount.h"
#include "support/AwaitKeychain.h"
#include "support/Step.h"
#include "support/XvfbSession.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int waitMs = 15000;
const QString service = u"org.corvane.Corvane"_s;
const QString secrets = u"org.freedesktop.secrets"_s;
const QString secretsPath = u"/org/freedesktop/secrets"_s;

struct Result
{
    int exitCode = -1;
    QString out, err;
};

// gnome-keyring's own unlock, (o ay ay s): the session, no parameters, the password, its type.
struct MasterPassword
{
    QDBusObjectPath session;
    QByteArray parameters, value;
    QString contentType;
};

QDBusArgument &operator<<(QDBusArgument &argument, const MasterPassword &secret)
{
    argument.beginStructure();
    argument << secret.session << secret.parameters << secret.value << secret.contentType;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, MasterPassword &)
{
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(MasterPassword)

class TestCodesAnywhere : public QObject
{
    Q_OBJECT

    std::unique_ptr<XvfbSession> m_session;
    QTemporaryDir m_home;
    SecretServiceKeychain m_keychain;
    QList<TokenAccount> m_accounts;
    QHash<QString, QString> m_secrets; // by issuer
    std::unique_ptr<QProcess> m_app;
    QDBusConnection m_bus = QDBusConnection::sessionBus();

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = m_session->environment();
        for (const QString &name : {u"XDG_CONFIG_HOME"_s, u"XDG_RUNTIME_DIR"_s, u"TMPDIR"_s})
            environment.insert(name, m_home.path());
        environment.insert(u"LANGUAGE"_s, u"en"_s);
        environment.insert(u"LSAN_OPTIONS"_s, u"suppressions=" CORVANE_LSAN_SUPPRESSIONS ""_s);
        // Whole allocation stacks, so that the suppressions of GLib's own allocations match.
        environment.insert(u"ASAN_OPTIONS"_s,
                           environment.value(u"ASAN_OPTIONS"_s, u"detect_leaks=1"_s) + u":fast_unwind_on_malloc=0"_s);
        return environment;
    }
    Result run(const QString &program, const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(waitMs))
            process.kill();
        process.waitForFinished();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }
    Result corvane(const QStringList &arguments) const { return run(QStringLiteral(CORVANE_BINARY), arguments); }
    QSettings settings() const { return QSettings(m_home.filePath(u"Corvane/Corvane.conf"_s), QSettings::IniFormat); }
    void launch()
    {
        m_app = std::make_unique<QProcess>();
        m_app->setProcessEnvironment(environment());
        m_app->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_app->start(QStringLiteral(CORVANE_BINARY), {u"--hidden"_s});
        QTRY_VERIFY_WITH_TIMEOUT(m_bus.interface()->isServiceRegistered(service).value(), waitMs);
    }
    void quit()
    {
        if (!m_app)
            return;
        m_app->terminate();
        m_app->waitForFinished(waitMs);
        m_app.reset();
    }
    QList<QVariant> call(const QString &path, const QString &interface, const QString &method,
                         const QList<QVariant> &arguments) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        const QDBusMessage reply = m_bus.call(message, QDBus::Block, waitMs);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning() << method << reply.errorName() << reply.errorMessage();
        return reply.arguments();
    }
    QList<QVariant> search(const QString &method, const QList<QVariant> &arguments) const
    {
        return call(u"/org/corvane/Corvane/SearchProvider"_s, u"org.gnome.Shell.SearchProvider2"_s, method, arguments);
    }
    QList<QVariant> runner(const QString &method, const QList<QVariant> &arguments) const
    {
        return call(u"/org/corvane/Corvane/Runner"_s, u"org.kde.krunner1"_s, method, arguments);
    }
    // KRunner's best match for `query`.
    struct Match
    {
        QString id, text;
        int type = 0;
        double relevance = 0;
        QVariantMap properties;
    };
    Match firstMatch(const QString &query) const
    {
        const QDBusArgument matches = runner(u"Match"_s, {query}).value(0).value<QDBusArgument>();
        QList<Match> found;
        QString icon;
        matches.beginArray();
        while (!matches.atEnd()) {
            Match &match = found.emplace_back();
            matches.beginStructure();
            matches >> match.id >> match.text >> icon >> match.type >> match.relevance >> match.properties;
            matches.endStructure();
        }
        matches.endArray();
        return found.value(0);
    }
    // The description of the one result "kestrel" finds, and its id.
    QString kestrelDescription(QString *id = nullptr) const
    {
        const QStringList ids = search(u"GetInitialResultSet"_s, {QStringList{u"kestrel"_s}}).value(0).toStringList();
        if (ids.size() != 1)
            return u"results: %1"_s.arg(ids.size());
        if (id)
            *id = ids[0];
        QList<QVariantMap> metas;
        search(u"GetResultMetas"_s, {ids}).value(0).value<QDBusArgument>() >> metas;
        if (metas.size() != 1 || metas[0].value(u"name"_s) != u"Kestrel Bank"_s || metas[0].value(u"id"_s) != ids[0])
            return u"metas: %1"_s.arg(metas.size());
        return metas[0].value(u"description"_s).toString();
    }
    // The codes around now of the account of `issuer`: this time step's and the next.
    QStringList codes(const QString &issuer) const
    {
        const auto account = std::ranges::find(m_accounts, issuer, &TokenAccount::issuer);
        const qint64 from = QDateTime::currentSecsSinceEpoch() - 1;
        if (account->otp.kind == OtpKind::Totp) {
            const QStringList arguments{u"--totp"_s, u"-b"_s, u"-w"_s, u"1"_s, u"-N"_s, u"@%1"_s.arg(from), u"-"_s};
            return run(u"oathtool"_s, arguments, m_secrets[issuer].toLatin1()).out.split(u'\n', Qt::SkipEmptyParts);
        }
        return {TOTPGenerator::code(m_secrets[issuer], from, account->otp).value_or(QString()),
                TOTPGenerator::code(m_secrets[issuer], from + 30, account->otp).value_or(QString())};
    }
    QString clipboard() const { return run(u"xclip"_s, {u"-o"_s, u"-sel"_s, u"clip"_s}).out; }
    bool leaksSecret(const Result &result) const
    {
        return std::ranges::any_of(m_secrets, [&](const QString &secret) {
            return result.out.contains(secret) || result.err.contains(secret);
        });
    }
    // The default keyring locked or unlocked with the run's throwaway password.
    void setKeyringLocked(bool locked)
    {
        const auto secretCall = [&](const QString &method, const QList<QVariant> &arguments,
                                    const QString &interface = u"org.freedesktop.Secret.Service"_s) {
            QDBusMessage message = QDBusMessage::createMethodCall(secrets, secretsPath, interface, method);
            message.setArguments(arguments);
            return m_bus.call(message);
        };
        const auto collection =
            secretCall(u"ReadAlias"_s, {u"default"_s}).arguments().value(0).value<QDBusObjectPath>();
        if (locked) {
            QCOMPARE(secretCall(u"Lock"_s, {QVariant::fromValue(QList<QDBusObjectPath>{collection})}).type(),
                     QDBusMessage::ReplyMessage);
            return;
        }
        const QDBusMessage open = secretCall(u"OpenSession"_s, {u"plain"_s, QVariant::fromValue(QDBusVariant(u""_s))});
        const auto session = open.arguments().value(1).value<QDBusObjectPath>();
        const QList<QVariant> unlock{QVariant::fromValue(collection),
                                     QVariant::fromValue(MasterPassword{session, {}, "throwaway", u"text/plain"_s})};
        QCOMPARE(secretCall(u"UnlockWithMasterPassword"_s, unlock,
                            u"org.gnome.keyring.InternalUnsupportedGuiltRiddenInterface"_s)
                     .type(),
                 QDBusMessage::ReplyMessage);
    }

    QString typedPath() const { return m_home.filePath(u"typed"_s); }
    QString typed() const
    {
        QFile file(typedPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // An xterm running cat, which writes what is typed into it, character by character, to a
    // file; it has the keyboard, in `layout`.
    void startCat(QProcess &xterm, const QString &layout)
    {
        QFile::remove(typedPath());
        xterm.setProcessEnvironment(environment());
        xterm.start(u"xterm"_s,
                    {u"-title"_s, u"cat"_s, u"-e"_s, u"sh"_s, u"-c"_s, u"stty -icanon; exec cat > "_s + typedPath()});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(typedPath()), waitMs);
        run(u"xdotool"_s, {u"search"_s, u"--sync"_s, u"--name"_s, u"^cat$"_s, u"windowactivate"_s, u"--sync"_s});
        QCOMPARE(run(u"setxkbmap"_s, {layout}).exitCode, 0);
    }
    void stopCat(QProcess &xterm) const
    {
        run(u"xdotool"_s, {u"keyup"_s, u"shift"_s});
        run(u"setxkbmap"_s, {u"us"_s});
        xterm.kill();
        xterm.waitForFinished();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const auto missing = [](const QString &reason) {
            if (qEnvironmentVariable("CI") == u"true"_s)
                QFAIL(qPrintable(reason));
            QSKIP(qPrintable(reason));
        };
        for (const QString &tool : {u"xdotool"_s, u"xclip"_s, u"xterm"_s, u"setxkbmap"_s, u"oathtool"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return missing(tool + u" is not installed"_s);
        }
        m_session = std::make_unique<XvfbSession>();
        QString error;
        if (!m_session->start(&error))
            return missing(error);
        qDBusRegisterMetaType<MasterPassword>();
        // Two banks for an ambiguous query, a counter and Steam's letters.
        const QList<std::tuple<QString, QString, OtpParameters, QString>> accounts{
            {u"Kestrel Bank"_s, u"alice@example.org"_s, {}, u"JBSWY3DPEHPK3PXPKESTRELBANK23456"_s},
            {u"Osprey Bank"_s, u"carol"_s, {}, u"OSPREYBANK234567ABCDEFGHIJKLMNOP"_s},
            {u"Wren"_s, u"dave"_s, {30, 6, HashAlgorithm::Sha1, OtpKind::Hotp, 9}, u"JBSWY3DPEHPK3PXP"_s},
            {u"Steam"_s,
             u"gabe"_s,
             {30, 5, HashAlgorithm::Sha1, OtpKind::Steam},
             u"STEAMSTEAMSTEAMSTEAMSTEAMSTEAM23"_s},
        };
        for (const auto &[issuer, name, otp, secret] : accounts) {
            m_accounts.append({QUuid::createUuid(), name, issuer, otp});
            m_secrets.insert(issuer, secret);
            if (!save(m_keychain, secret, m_accounts.constLast().id))
                return missing(u"no Secret Service; run through scripts/with-keyring"_s);
        }
        QSettings stored = settings();
        stored.setValue(u"totp.accounts"_s, TokenAccount::encodeList(m_accounts));
        stored.setValue(u"totp.clipboardClearDelay"_s, 2);
    }
    void cleanup() { quit(); }
    void cleanupTestCase()
    {
        for (const TokenAccount &account : std::as_const(m_accounts))
            awaitKeychain<bool>([&](auto done) { m_keychain.remove(account.id, done); });
        m_session.reset();
    }

    // The same answers with and without the panel running; a counter advances once a code.
    void terminal_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("counterCode");
        QTest::newRow("no instance") << false << u"924769"_s;
        QTest::newRow("running instance") << true << u"930313"_s;
    }
    void terminal()
    {
        QFETCH(bool, running);
        QFETCH(QString, counterCode);
        if (running)
            STEP(launch());
        const Result kestrel = corvane({u"--code"_s, u"kestrel"_s});
        QCOMPARE(kestrel.exitCode, 0);
        QVERIFY2(codes(u"Kestrel Bank"_s).contains(kestrel.out.trimmed()), qPrintable(kestrel.out));
        const Result counter = corvane({u"--code=WREN"_s});
        QCOMPARE(counter.out, counterCode + u'\n');
        const Result ambiguous = corvane({u"--code"_s, u"bank"_s});
        QCOMPARE(ambiguous.exitCode, 2);
        QCOMPARE(ambiguous.out, u"Kestrel Bank · alice@example.org\nOsprey Bank · carol\n"_s);
        const Result absent = corvane({u"--code"_s, u"heron"_s});
        QCOMPARE(absent.exitCode, 1);
        QVERIFY(absent.out.isEmpty() && !absent.err.isEmpty());
        const Result list = corvane({u"--list"_s});
        QCOMPARE(list.exitCode, 0);
        QCOMPARE(list.out, u"Kestrel Bank\talice@example.org\ttotp\nOsprey Bank\tcarol\ttotp\nWren\tdave\thotp\n"
                           u"Steam\tgabe\tsteam\n"_s);
        for (const Result &result : {kestrel, counter, ambiguous, absent, list})
            QVERIFY(!leaksSecret(result));
    }

    // The Shell's search and KRunner find the same accounts, best first; activation copies
    // oathtool's code through the app's clipboard, which clears it after the delay.
    void searchAndRunner()
    {
        STEP(launch());
        QString id;
        const QString description = kestrelDescription(&id);
        const QString code = description.section(u" · "_s, 1);
        QVERIFY2(description.startsWith(u"alice@example.org · "_s) && codes(u"Kestrel Bank"_s).contains(code),
                 qPrintable(description));
        QList<QVariantMap> none;
        search(u"GetResultMetas"_s, {QStringList{u"unknown"_s}}).value(0).value<QDBusArgument>() >> none;
        QVERIFY(none.isEmpty());
        QCOMPARE(search(u"GetSubsearchResultSet"_s, {QStringList{id}, QStringList{u"kestrel"_s, u"alice"_s}})
                     .value(0)
                     .toStringList(),
                 QStringList{id});

        const Match osprey = firstMatch(u"osprey bank"_s);
        QCOMPARE(osprey.text, u"Osprey Bank"_s);
        QCOMPARE(osprey.type, 100);
        QCOMPARE(osprey.relevance, 1.0);
        QVERIFY(
            codes(u"Osprey Bank"_s).contains(osprey.properties.value(u"subtext"_s).toString().section(u" · "_s, 1)));

        search(u"ActivateResult"_s, {id, QStringList{u"kestrel"_s}, 0u});
        QTRY_VERIFY_WITH_TIMEOUT(codes(u"Kestrel Bank"_s).contains(clipboard()), waitMs);
        QTRY_COMPARE_WITH_TIMEOUT(clipboard(), QString(), waitMs);
        runner(u"Run"_s, {osprey.id, QString()});
        QTRY_VERIFY_WITH_TIMEOUT(codes(u"Osprey Bank"_s).contains(clipboard()), waitMs);
    }

    // No code while codes are hidden or the keyring is locked; the description says why.
    void metasWithholdCodes_data()
    {
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QString>("why");
        QTest::newRow("codes hidden") << true << u"Codes are hidden"_s;
        QTest::newRow("keyring locked") << false << u"The keychain is locked"_s;
    }
    void metasWithholdCodes()
    {
        QFETCH(bool, hidden);
        QFETCH(QString, why);
        settings().setValue(u"totp.hideCodes"_s, hidden);
        const auto restore = qScopeGuard([&] {
            settings().setValue(u"totp.hideCodes"_s, false);
            if (!hidden)
                setKeyringLocked(false);
        });
        if (!hidden)
            STEP(setKeyringLocked(true));
        STEP(launch());
        QCOMPARE(kestrelDescription(), u"alice@example.org · "_s + why);
        if (!hidden) {
            const Result refused = corvane({u"--code"_s, u"kestrel"_s});
            QCOMPARE(refused.exitCode, 1);
            QVERIFY2(refused.out.isEmpty() && refused.err.contains(why), qPrintable(refused.err));
        }
    }

    // KRunner's "type" action, or Ctrl+Return on a row the panel's filter found, types the code
    // into the xterm that has (or had) the keyboard, in the layout set, with Shift held down or
    // not, and no Return after it.
    void typesIntoWindow_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("issuer");
        QTest::addColumn<bool>("shiftHeld");
        QTest::addColumn<bool>("fromPanel");
        QTest::newRow("us digits") << u"us"_s << u"Kestrel Bank"_s << false << false;
        QTest::newRow("de digits") << u"de"_s << u"Kestrel Bank"_s << false << false;
        QTest::newRow("de digits, Shift held") << u"de"_s << u"Osprey Bank"_s << true << false;
        QTest::newRow("de Steam letters") << u"de"_s << u"Steam"_s << false << false;
        QTest::newRow("us Steam letters, Shift held") << u"us"_s << u"Steam"_s << true << false;
        QTest::newRow("us, Ctrl+Return in the panel") << u"us"_s << u"Osprey Bank"_s << false << true;
        QTest::newRow("de, Ctrl+Return in the panel") << u"de"_s << u"Osprey Bank"_s << false << true;
    }
    void typesIntoWindow()
    {
        QFETCH(QString, layout);
        QFETCH(QString, issuer);
        QFETCH(bool, shiftHeld);
        QFETCH(bool, fromPanel);
        STEP(launch());
        QProcess xterm;
        const auto stop = qScopeGuard([&] { stopCat(xterm); });
        STEP(startCat(xterm, layout));
        if (shiftHeld)
            run(u"xdotool"_s, {u"keydown"_s, u"shift"_s});
        if (fromPanel) {
            const QString cat = run(u"xdotool"_s, {u"getactivewindow"_s}).out;
            QCOMPARE(corvane({u"--show"_s}).exitCode, 0);
            QTRY_VERIFY_WITH_TIMEOUT(run(u"xdotool"_s, {u"getactivewindow"_s}).out != cat, waitMs);
            run(u"xdotool"_s, {u"type"_s, issuer.section(u' ', 0, 0).toLower()});
            run(u"xdotool"_s, {u"key"_s, u"ctrl+Return"_s});
        } else {
            runner(u"Run"_s, {firstMatch(issuer).id, u"type"_s});
        }
        QTRY_VERIFY2_WITH_TIMEOUT(codes(issuer).contains(typed()), qPrintable(typed()), waitMs);
    }
};

QTEST_GUILESS_MAIN(TestCodesAnywhere)
#include "tst_codesanywhere.moc"
