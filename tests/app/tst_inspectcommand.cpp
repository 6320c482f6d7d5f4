// `corvane --inspect` as a person runs it: the real binary, the password on standard input.
#include "engine/TOTPGenerator.h"
#include "transfer/AegisVault.h"
#include "transfer/ImportFormat.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const ImportedToken steam{u"gabe\tnewell"_s,
                          u"Valve\nSteam"_s,
                          u"JRZCL47CMXVOQMNPZR2F7J4RGI"_s,
                          {30, 5, HashAlgorithm::Sha1, OtpKind::Steam}};
const ImportedToken sha256{u"me"_s, u"Bank"_s, u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s, {60, 8, HashAlgorithm::Sha256}};

// Runs `corvane FILE ARGUMENTS...` with nothing to reach a keychain or a display with, and a
// home of its own.
void runCorvane(QProcess &corvane, const QTemporaryDir &dir, const QStringList &arguments, const QByteArray &input)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"DBUS_SESSION_BUS_ADDRESS"_s})
        environment.remove(name);
    environment.insert(u"HOME"_s, dir.path());
    environment.insert(u"XDG_CONFIG_HOME"_s, dir.path());
    corvane.setProcessEnvironment(environment);
    corvane.setProgram(QStringLiteral(CORVANE_BINARY));
    corvane.setArguments(arguments);
    corvane.start();
    corvane.write(input);
    corvane.closeWriteChannel();
    QVERIFY(corvane.waitForFinished(60000));
}

} // namespace

class TestInspectCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void inspects_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("right password") << QStringList{u"--inspect"_s} << "密码 pw\n"_ba << 0 << QString();
        QTest::newRow("wrong password") << QStringList{u"--inspect"_s} << "wrong\n"_ba << 1 << u"密码不正确。\n"_s;
        QTest::newRow("no password") << QStringList{u"--inspect"_s} << QByteArray() << 1
                                     << u"这个备份已加密，请输入密码。\n"_s;
        QTest::newRow("a second file") << QStringList{u"--inspect"_s, u"b"_s} << QByteArray() << 2
                                       << u"用法：corvane --inspect 文件\n"_s;
    }
    // Refused before any file is read: an option where the file should be, a file that cannot be read.
    void refusesWhatIsNoReadableFile_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("an option") << u"--hidden"_s << 2 << u"用法：corvane --inspect 文件"_s;
        QTest::newRow("a read error") << u"/proc/self/mem"_s << 1 << u"无法读写文件：输入/输出错误"_s;
    }
    void refusesWhatIsNoReadableFile()
    {
        QFETCH(QString, argument);
        QProcess corvane;
        corvane.start(QStringLiteral(CORVANE_BINARY), {u"--inspect"_s, argument});
        corvane.closeWriteChannel();
        QVERIFY(corvane.waitForFinished(60000));
        QTEST(corvane.exitCode(), "exitCode");
        QFETCH(QString, error);
        QVERIFY(QString::fromUtf8(corvane.readAllStandardError()).startsWith(error));
    }

    void inspects()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QTemporaryDir dir;
        QFile vault(dir.filePath(u"vault.json"_s));
        QVERIFY(vault.open(QIODevice::WriteOnly));
        vault.write(*AegisVault::write({steam, sha256}, u"密码 pw"_s, {.scryptN = 1 << 10}));
        vault.close();
        arguments.insert(1, vault.fileName());

        QProcess corvane;
        const double started = QDateTime::currentSecsSinceEpoch();
        runCorvane(corvane, dir, arguments, input);
        QTEST(corvane.exitCode(), "exitCode");
        QTEST(QString::fromUtf8(corvane.readAllStandardError()), "error");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"vault.json"_s});
        const QString out = QString::fromUtf8(corvane.readAllStandardOutput());
        if (corvane.exitCode() != 0) {
            QCOMPARE(out, QString());
            return;
        }
        // The code of the time step the run began in, or of the next when it turned meanwhile.
        QString expected = u"format\tAegis 加密备份\n"_s;
        const QList<std::pair<ImportedToken, QString>> accounts{
            {steam, u"Valve Steam\tgabe newell\tsteam\tSHA1\t5\t30\t"_s},
            {sha256, u"Bank\tme\ttotp\tSHA256\t8\t60\t"_s}};
        for (const auto &[account, shown] : accounts) {
            const ImportedToken &token = account;
            const auto code = [&token](double date) {
                return *TOTPGenerator::code(token.secret, date, token.otp.period, token.otp.digits, token.otp.algorithm,
                                            token.otp.isSteam());
            };
            const QString line = u"account\t"_s + shown + code(started);
            expected += (out.contains(line) ? line : u"account\t"_s + shown + code(started + token.otp.period)) + u'\n';
        }
        QCOMPARE(out, expected);
    }

    // --help names the app of every format the importer reads, by the first word of its name.
    void helpNamesEveryFormat()
    {
        QProcess corvane;
        corvane.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        corvane.start(QStringLiteral(CORVANE_BINARY), {u"--help"_s});
        QVERIFY(corvane.waitForFinished(60000));
        const QString help = QString::fromUtf8(corvane.readAllStandardOutput());
        for (const ImportFormat &format : ImportFormat::all())
            QVERIFY2(help.contains(format.name.section(u' ', 0, 0)), qPrintable(format.name));
    }

    // The period column holds the stored counter, the code is that counter's
    // (`oathtool --hotp -b -c 9 JBSWY3DPEHPK3PXP`), and a second look shows the same.
    void inspectsCounterLink()
    {
        QTemporaryDir dir;
        QFile links(dir.filePath(u"links.txt"_s));
        QVERIFY(links.open(QIODevice::WriteOnly));
        links.write("otpauth://hotp/Ex:al?secret=JBSWY3DPEHPK3PXP&counter=9\n");
        links.close();
        for (int look = 0; look < 2; ++look) {
            QProcess corvane;
            runCorvane(corvane, dir, {u"--inspect"_s, links.fileName()}, {});
            QCOMPARE(corvane.exitCode(), 0);
            QCOMPARE(QString::fromUtf8(corvane.readAllStandardOutput()),
                     u"format\totpauth 链接列表\naccount\tEx\tal\thotp\tSHA1\t6\t9\t924769\n"_s);
        }
    }

    // What is kept with an account follows its line: the icon as its hash and type, never its
    // bytes; each group; the note on one line; the favourite mark.
    void inspectsWhatIsKeptWithAccounts()
    {
        const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'/>";
        const QString hash = QString::fromLatin1(QCryptographicHash::hash(svg, QCryptographicHash::Sha256).toHex());
        QTemporaryDir dir;
        QFile vault(dir.filePath(u"vault.json"_s));
        QVERIFY(vault.open(QIODevice::WriteOnly));
        vault.write("{\"version\":1,\"header\":{\"slots\":null,\"params\":null},\"db\":{\"version\":3,"
                    "\"groups\":[{\"uuid\":\"2d5b7a8e-3f0c-4c39-9a55-1f1d0c6e8b01\",\"name\":\"Work\"}],"
                    "\"entries\":[{\"type\":\"totp\",\"uuid\":\"01234567-89ab-cdef-0123-456789abcdef\","
                    "\"name\":\"al\",\"issuer\":\"Ex\",\"note\":\"line\\tone\\nline two\",\"favorite\":true,"
                    "\"icon\":\""
                    + svg.toBase64()
                    + "\",\"icon_mime\":\"image/svg+xml\","
                      "\"groups\":[\"2d5b7a8e-3f0c-4c39-9a55-1f1d0c6e8b01\"],\"info\":{\"secret\":\"JBSWY3DPEHPK3PXP\","
                      "\"algo\":\"SHA1\",\"digits\":6,\"period\":30}}]}}");
        vault.close();
        QProcess corvane;
        runCorvane(corvane, dir, {u"--inspect"_s, vault.fileName()}, {});
        QCOMPARE(corvane.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(corvane.readAllStandardOutput()).split(u'\n');
        QCOMPARE(lines.mid(2),
                 (QStringList{u"icon\t"_s + hash + u"\tsvg"_s, u"group\t2d5b7a8e-3f0c-4c39-9a55-1f1d0c6e8b01\tWork"_s,
                              u"note\tline one line two"_s, u"favourite"_s, QString()}));
        QVERIFY(!lines.join(u' ').contains(QString::fromLatin1(svg.toBase64())));
    }
};

QTEST_GUILESS_MAIN(TestInspectCommand)
#include "tst_inspectcommand.moc"
