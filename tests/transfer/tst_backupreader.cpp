#include "support/StoreFixture.h"
#include "transfer/AegisVault.h"
#include "transfer/BackupFile.h"
#include "transfer/BackupFileReader.h"
#include "transfer/BackupReader.h"
#include "transfer/OtpauthLinks.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using Kind = TransferError::Kind;
// Cheap enough for the many files these tests write; the store round trip uses Aegis's cost.
const KdfPolicy cheap{.scryptN = 1 << 10};
const QList<ImportedToken> sampleTokens{
    {u"alice@example.com"_s, u"GitHub"_s, u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s, 30, 6},
    {u"bob"_s, QString(), u"JBSWY3DPEHPK3PXPJBSWY3DPEHPK3PXP"_s, 60, 8},
    {u"名字 with spaces:&?"_s, u"发行者"_s, u"KRUGKIDROVUWG2ZAMJZG653OEBTG66BAJZ2W24DTEBXXMZLS"_s, 15, 7},
};

// The samples come from Aegis's own test suite (see data/SOURCES.md); password "test".
QByteArray sample(const QString &name)
{
    QFile file(QStringLiteral(CORVANE_TRANSFER_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing sample %s", qPrintable(name));
    return file.readAll();
}

QStringList summary(const ImportBatch &batch)
{
    QStringList lines;
    for (const ImportedToken &token : batch.tokens)
        lines << u"%1:%2 %3 %4/%5 %6%7"_s.arg(token.issuer, token.name, token.secret)
                     .arg(token.period)
                     .arg(token.digits)
                     .arg(algorithmName(token.algorithm), token.steam ? u" Steam"_s : QString());
    return lines;
}

// The document with a character changed a little way into the text of its first member `key`. A
// digit reads the same in hex and Base64, so the value always changes (swapping the case of a hex
// letter would not).
QByteArray flipped(QByteArray document, const QByteArray &key)
{
    const QByteArray member = '"' + key + "\":";
    if (!document.contains(member))
        qFatal("no member %s", key.constData());
    const qsizetype at = document.indexOf('"', document.indexOf(member) + member.size()) + 8;
    document[at] = document[at] == '0' ? '1' : '0';
    return document;
}

} // namespace

class TestBackupReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void peerSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("accounts");
        const QString mason = u"Deno:Mason 4SJHB4GSD43FZBAI7C2HLRJGPQ 30/6 SHA1"_s;
        const QString sophia = u"Boeing:Sophia JRZCL47CMXVOQMNPZR2F7J4RGI 30/5 SHA1 Steam"_s;
        const QStringList aegis{mason, u"SPDX:James 5OM4WOOGPLQEF6UGN3CPEOOLWU 20/7 SHA256"_s,
                                u"Airbnb:Elijah 7ELGJSGXNCCTV3O6LKJWYFV2RA 50/8 SHA512"_s, sophia};
        QTest::newRow("Aegis, plain") << u"aegis_plain.json"_s << aegis;
        QTest::newRow("Aegis, encrypted") << u"aegis_encrypted.json"_s << aegis;
        QTest::newRow("2FAS, plain") << u"2fas_authenticator_plain_v4.2fas"_s << QStringList{mason, sophia};
        QTest::newRow("2FAS, encrypted") << u"2fas_authenticator_encrypted_v4.2fas"_s << QStringList{mason, sophia};
    }
    void peerSamples()
    {
        QFETCH(QString, file);
        const auto batch = BackupReader::read(sample(file), u"test"_s);
        QVERIFY2(batch, batch ? "" : qPrintable(batch.error().description()));
        QTEST(summary(*batch), "accounts");
        QCOMPARE(batch->refused.size(), 3); // the samples' entries of other kinds
    }

    void rejects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("password");
        QTest::addColumn<Kind>("error");
        const QByteArray vault = *AegisVault::write(sampleTokens, u"right"_s, cheap);
        const QByteArray twoFas = sample(u"2fas_authenticator_encrypted_v4.2fas"_s);
        const QString right = u"right"_s;
        QTest::newRow("Aegis, wrong password") << vault << u"wrong"_s << Kind::wrongPassword;
        QTest::newRow("Aegis, no password") << vault << QString() << Kind::passwordRequired;
        QTest::newRow("Aegis, truncated") << vault.left(vault.size() / 2) << right << Kind::damaged;
        QTest::newRow("Aegis, database changed") << flipped(vault, "db") << right << Kind::damaged;
        QTest::newRow("Aegis, tag changed") << flipped(vault, "tag") << right << Kind::damaged; // the header's
        QTest::newRow("Aegis, scrypt cost beyond the cap")
            << QByteArray(vault).replace(R"("n": 1024)", R"("n": 1073741824)") << right << Kind::unsupported;
        QTest::newRow("2FAS, wrong password") << twoFas << u"wrong"_s << Kind::wrongPassword;
        QTest::newRow("2FAS, services changed") << flipped(twoFas, "servicesEncrypted") << u"test"_s << Kind::damaged;
        QTest::newRow("2FAS, truncated") << twoFas.left(twoFas.size() - 40) << u"test"_s << Kind::damaged;
        QTest::newRow("other JSON") << R"({"accounts": []})"_ba << right << Kind::unrecognized;
        QTest::newRow("text without links") << "secret: ABC\n"_ba << right << Kind::unrecognized;
        QTest::newRow("too large") << QByteArray(BackupReader::maxFileSize + 1, ' ') << right << Kind::tooLarge;
        QTest::newRow("more accounts than an import takes")
            << OtpauthLinks::write(QList<ImportedToken>(ImportBatch::maxEntries + 1, sampleTokens[0])) << right
            << Kind::tooManyAccounts;
    }
    void rejects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, password);
        QFETCH(Kind, error);
        const auto batch = BackupReader::read(bytes, password, cheap);
        QVERIFY(!batch);
        QCOMPARE(batch.error().kind(), error);
    }

    void linkListRefusesLinesByNumber()
    {
        // The migration link is from dim13/otpauth's test data.
        const auto batch = BackupReader::read(
            "\n"_ba + OtpauthLinks::write(sampleTokens) + "otpauth://hotp/x?secret=AAAA\notpauth://totp/y?secret=1\n"
            + "otpauth-migration://offline?data=CjEKCkhlbGxvId6tvu8SGEV4YW1wbGU6YWxpY2VAZ29vZ2xlLmNvbRoHRXhhbXBsZTAC\n"
            + "otpauth-migration://offline?data=%%%\n");
        QVERIFY(batch);
        const ImportedToken alice{u"alice@google.com"_s, u"Example"_s, u"JBSWY3DPEHPK3PXP"_s};
        QCOMPARE(batch->tokens, sampleTokens + QList<ImportedToken>{alice});
        QCOMPARE(batch->refused.size(), 3);
        QCOMPARE(batch->refused[0], (ImportBatch::Refusal{u"第 5 行"_s, u"不是可用的 otpauth 链接"_s}));
        QCOMPARE(batch->refused[1], (ImportBatch::Refusal{u"第 6 行"_s, u"密钥或参数无效"_s}));
        QCOMPARE(batch->refused[2].label, u"第 8 行"_s);
    }

    void setsAsideSecretsAlreadyListed()
    {
        ImportBatch batch{sampleTokens, {}, {}};
        batch.tokens.insert(1, {u"again"_s, {}, u"gezd gnbv-gy3t qojq gezd gnbv gy3t qojq=="_s});
        batch.setAsidePresent({sampleTokens[2]});
        QCOMPARE(batch.tokens, sampleTokens.first(2));
        QCOMPARE(batch.present.size(), 2);
    }

    // What one keyring exports, a fresh keyring imports with the same codes.
    void roundTripThroughStores_data()
    {
        QTest::addColumn<bool>("encrypted");
        QTest::addColumn<QList<ImportedToken>>("tokens");
        const QList<ImportedToken> hashesAndSteam{
            {u"sha512"_s, u"Bank"_s, u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s, 60, 8, HashAlgorithm::Sha512},
            {u"steam"_s, u"Steam"_s, u"JRZCL47CMXVOQMNPZR2F7J4RGI"_s, 30, 5, HashAlgorithm::Sha1, true}};
        QTest::newRow("Aegis vault") << true << sampleTokens + hashesAndSteam;
        QTest::newRow("otpauth links") << false << sampleTokens;
    }
    void roundTripThroughStores()
    {
        QFETCH(bool, encrypted);
        QFETCH(QList<ImportedToken>, tokens);
        FakeClock clock{1'700'000'000};
        TempSettings firstSettings, secondSettings;
        MemoryKeychain firstKeychain, secondKeychain;
        TokenStore first(firstKeychain, firstSettings.settings(), clock.function());
        for (const ImportedToken &token : tokens)
            QVERIFY(added(first, token));
        const QList<ImportedToken> exported = first.exportTokens();
        const auto bytes = encrypted ? AegisVault::write(exported, u"密码 pass"_s) : OtpauthLinks::write(exported);
        QVERIFY(bytes);
        const auto batch = BackupReader::read(*bytes, u"密码 pass"_s);
        QVERIFY(batch);
        TokenStore second(secondKeychain, secondSettings.settings(), clock.function());
        for (const ImportedToken &token : batch->tokens)
            QVERIFY(added(second, token));
        // Names, parameters and secrets alike, in order.
        QCOMPARE(second.exportTokens(), tokens);
    }

    // Replacing a world-readable file.
    void writesWholeFilesForTheOwnerOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"backup.json"_s);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.setPermissions(old.permissions() | QFileDevice::ReadOther);
        old.close();
        QVERIFY(BackupFile::write(path, "new"_ba));
        QCOMPARE(QFileInfo(path).permissions() & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"backup.json"_s});
    }

    // A FIFO would hold the reader until some program wrote into it.
    void readsRegularFilesOfABackupsSizeOnly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::optional<Kind>>("error");
        QTest::newRow("regular file") << u"backup.json"_s << std::optional<Kind>();
        QTest::newRow("FIFO") << u"fifo"_s << std::optional(Kind::notAFile);
        QTest::newRow("folder") << u"."_s << std::optional(Kind::notAFile);
        QTest::newRow("over the bound") << u"large"_s << std::optional(Kind::tooLarge);
        QTest::newRow("missing") << u"missing"_s << std::optional(Kind::fileError);
    }
    void readsRegularFilesOfABackupsSizeOnly()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(BackupFile::write(dir.filePath(u"backup.json"_s), "new"_ba));
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(u"fifo"_s)).constData(), 0600) == 0);
        QFile large(dir.filePath(u"large"_s));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(BackupReader::maxFileSize + 1));
        std::optional<BackupFileReader::Result> result;
        BackupFileReader reader(dir.filePath(name), [&](BackupFileReader::Result read) { result = read; });
        QTRY_VERIFY(result);
        QFETCH(std::optional<Kind>, error);
        if (error)
            QCOMPARE(result->error().kind(), *error);
        else
            QCOMPARE(*result, "new"_ba);
    }
};

QTEST_GUILESS_MAIN(TestBackupReader)
#include "tst_backupreader.moc"
