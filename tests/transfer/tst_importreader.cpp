#include "engine/TOTPGenerator.h"
#include "store/IconFolder.h"
#include "support/Step.h"
#include "support/StoreFixture.h"
#include "transfer/AegisVault.h"
#include "transfer/IconPackReader.h"
#include "transfer/ImportOpener.h"
#include "transfer/ImportReader.h"
#include "transfer/KeyDeriver.h"
#include "transfer/OtpauthLinks.h"
#include "transfer/SafeFile.h"
#include "transfer/SlicedFileReader.h"
#include "transfer/TransferPlugin.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using Kind = TransferError::Kind;
// Cheap enough for the many files these tests write; the store round trip uses Aegis's cost.
const KdfPolicy cheap{.scryptN = 1 << 10};
const QList<ImportedToken> sampleTokens{
    {u"alice@example.com"_s, u"GitHub"_s, u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s, {30, 6}},
    {u"bob"_s, QString(), u"JBSWY3DPEHPK3PXPJBSWY3DPEHPK3PXP"_s, {60, 8}},
    {u"名字 with spaces:&?"_s, u"发行者"_s, u"KRUGKIDROVUWG2ZAMJZG653OEBTG66BAJZ2W24DTEBXXMZLS"_s, {15, 7}},
};

// The samples come from Aegis's own test suite (see data/SOURCES.md); password "test".
QByteArray sample(const QString &name)
{
    QFile file(QStringLiteral(CORVANE_TRANSFER_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing sample %s", qPrintable(name));
    return file.readAll();
}

// Codes at this time: oathtool, and Python's hmac for Steam.
constexpr double sampleTime = 1'700'000'000;

QStringList summary(const ImportBatch &batch)
{
    QStringList lines;
    for (const ImportedToken &token : batch.tokens) {
        const OtpParameters &otp = token.otp;
        const auto code = TOTPGenerator::code(TOTPGenerator::normalize(token.secret), sampleTime, otp);
        // A counter-based account shows its counter where the others show their period.
        const QString step = otp.isHotp() ? u"#"_s + QString::number(otp.counter) : QString::number(otp.period);
        lines << u"%1:%2 %3 %4/%5 %6%7 %8"_s.arg(token.issuer, token.name, TOTPGenerator::normalize(token.secret), step)
                     .arg(otp.digits)
                     .arg(algorithmName(otp.algorithm), otp.isSteam() ? u" Steam"_s : QString(), code.value_or(u"?"_s));
    }
    return lines;
}

// What each account keeps besides its codes: "issuer icon [groups] note ★", an icon as its type
// and the start of its hash, a group as its name and the start of its uuid when it has one.
QStringList details(const QList<ImportedToken> &tokens)
{
    QStringList lines;
    for (const ImportedToken &token : tokens) {
        QStringList groups;
        for (const AccountGroup &group : token.groups)
            groups << group.name + (group.id.isNull() ? QString() : u"#"_s + group.id.toString(QUuid::Id128).left(8));
        const QString icon =
            token.icon ? AccountIcon::typeName(token.icon->type) + u' ' + token.icon->hash.left(8) : u"-"_s;
        lines << u"%1 %2 [%3] %4%5"_s.arg(token.issuer, icon, groups.join(u','), token.note,
                                          token.favourite ? u" ★"_s : QString());
    }
    return lines;
}

// A vault gives each entry's uuid as the token's id; tokens written without one get a random one.
QList<ImportedToken> withoutIds(QList<ImportedToken> tokens)
{
    for (ImportedToken &token : tokens)
        token.id = {};
    return tokens;
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

// The Ente export with a second secret-stream chunk's worth of bytes after its one message.
QByteArray withBytesAfterMessage(const QByteArray &document)
{
    QJsonObject root = QJsonDocument::fromJson(document).object();
    const QByteArray data = QByteArray::fromBase64(root[u"encryptedData"].toString().toLatin1());
    root[u"encryptedData"] = QString::fromLatin1((data + QByteArray(40, 'x')).toBase64());
    return QJsonDocument(root).toJson();
}

// A counter beyond 32 bits, and one more than a JSON double holds exactly.
const QList<ImportedToken> counterTokens{
    {u"counter"_s, u"HOTP"_s, u"JBSWY3DPEHPK3PXP"_s, {30, 8, HashAlgorithm::Sha256, OtpKind::Hotp, 1ull << 32}},
    {u"large"_s,
     u"HOTP"_s,
     u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s,
     {30, 6, HashAlgorithm::Sha1, OtpKind::Hotp, (1ull << 53) + 1}}};

} // namespace

class TestImportReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void peerSamples_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<int>("refused");
        const QString mason = u"Deno:Mason 4SJHB4GSD43FZBAI7C2HLRJGPQ 30/6 SHA1 790195"_s;
        const QString james = u"SPDX:James 5OM4WOOGPLQEF6UGN3CPEOOLWU 20/7 SHA256 9993814"_s;
        const QString elijah = u"Airbnb:Elijah 7ELGJSGXNCCTV3O6LKJWYFV2RA 50/8 SHA512 65516786"_s;
        const QString steam = u" JRZCL47CMXVOQMNPZR2F7J4RGI 30/5 SHA1 Steam 747JR"_s;
        // The HOTP entries with their counters and the codes of those counters: oathtool
        // (`--hotp -b -c 1`) for SHA-1, Python's hmac for the others.
        const QString jamesCounting = u"Issuu:James YOOMIXWS5GN6RTBPUFFWKTW5M4 #1/6 SHA1 253717"_s;
        const QString benjamin = u"Air Canada:Benjamin KUVJJOM753IHTNDSZVCNKL7GII #50/7 SHA256 4444976"_s;
        const QString masonCounting = u"WWE:Mason 5VAML3X35THCEBVRLV24CGBKOY #10300/8 SHA512 24622277"_s;
        const QStringList counting{jamesCounting, benjamin, masonCounting};
        const QStringList all = QStringList{mason, james, elijah} + counting + QStringList{u"Boeing:Sophia"_s + steam};
        const QStringList twoFas = QStringList{mason} + counting + QStringList{u"Boeing:Sophia"_s + steam};
        const auto row = [](const char *tag, const QString &file, const QString &format, const QStringList &accounts,
                            int refused) { QTest::newRow(tag) << sample(file) << format << accounts << refused; };
        row("Aegis, plain", u"aegis_plain.json"_s, u"Aegis 备份"_s, all, 0);
        row("Aegis, encrypted", u"aegis_encrypted.json"_s, u"Aegis 加密备份"_s, all, 0);
        row("2FAS, plain", u"2fas_authenticator_plain_v4.2fas"_s, u"2FAS 备份"_s, twoFas, 0);
        row("2FAS, encrypted", u"2fas_authenticator_encrypted_v4.2fas"_s, u"2FAS 加密备份"_s, twoFas, 0);
        row("Bitwarden, JSON", u"bitwarden.json"_s, u"Bitwarden 导出"_s,
            {mason, james, elijah, u"Test Steam:"_s + steam}, 0);
        row("Bitwarden, CSV", u"bitwarden.csv"_s, u"Bitwarden 导出（CSV）"_s,
            {mason, james, elijah, u"Test 4:"_s + steam}, 0);
        row("Proton Authenticator", u"proton_authenticator.json"_s, u"Proton Authenticator 导出"_s,
            {mason, james, elijah}, 0);
        row("andOTP, plain", u"andotp_plain.json"_s, u"andOTP 备份"_s, all, 0);
        // FreeOTP+ stores one less than the counter of the next code; read, they match the others.
        row("FreeOTP+", u"freeotp_plus.json"_s, u"FreeOTP+ 备份"_s,
            {masonCounting, benjamin, jamesCounting, elijah, james, mason}, 0);
        row("FreeOTP+, Steam", u"freeotp_plus_steam.json"_s, u"FreeOTP+ 备份"_s, {u"Steam:Sophia"_s + steam}, 0);
        row("Authenticator Pro, plain", u"stratum_plain.json"_s, u"Authenticator Pro 备份"_s, all, 0);
        row("Steam maFile", u"steam_old.json"_s, u"Steam 令牌文件（maFile）"_s, {u"Steam:Sophia"_s + steam}, 0);
        row("Steam app's accounts", u"steam.json"_s, u"Steam 令牌文件（maFile）"_s, {u"Steam:Sophia"_s + steam}, 0);
        // A link's "+" stays a "+": only percent-escapes are decoded.
        QStringList links = all;
        links[4].replace(u"Air Canada"_s, u"Air+Canada"_s);
        row("otpauth links", u"plain.txt"_s, u"otpauth 链接列表"_s, links, 0);
        // Decrypted by libgcrypt and libsodium, then read as the plain backups.
        row("andOTP, encrypted", u"andotp_encrypted.bin"_s, u"andOTP 加密备份"_s, all, 0);
        // Its oldest backups put the issuer into the name.
        row("andOTP, oldest encryption", u"andotp_encrypted_old.bin"_s, u"andOTP 加密备份"_s,
            {u":Deno - "_s + mason, u":SPDX - "_s + james, u":Airbnb - "_s + elijah, u":Issuu - "_s + jamesCounting,
             u":Air Canada - "_s + benjamin, u":WWE - "_s + masonCounting},
            0);
        row("Authenticator Pro, encrypted", u"stratum_encrypted.bin"_s, u"Authenticator Pro 加密备份"_s, all, 0);
        row("Authenticator Pro, legacy encryption", u"stratum_encrypted_legacy.bin"_s,
            u"Authenticator Pro 旧版加密备份"_s, all, 0);
        row("Ente Auth, encrypted", u"ente_auth_encrypted.json"_s, u"Ente Auth 加密导出"_s,
            {mason, james, u"Issuu:Benjamin YOOMIXWS5GN6RTBPUFFWKTW5M4 #1/6 SHA1 253717"_s}, 0);
        // One MESSAGE chunk; a hand-entered link with spaces read, a trashed entry skipped.
        row("Ente Auth, current writer", u"ente_auth_encrypted_message.json"_s, u"Ente Auth 加密导出"_s,
            {mason, james, u"Issuu:Benjamin YOOMIXWS5GN6RTBPUFFWKTW5M4 #1/6 SHA1 253717"_s,
             u"Kestrel Bank:ana@example.org JBSWY3DPEHPK3PXP 30/6 SHA1 324550"_s},
            1);
        // Counters beyond what a double holds exactly keep their value: oathtool's codes for 2^60 and 2^60 + 1.
        const auto json = [](const char *text) { return QByteArray(text).replace('\'', '"'); };
        QTest::newRow("Aegis, large counter")
            << json("{'version':1,'header':{'slots':null,'params':null},'db':{'version':3,"
                    "'entries':[{'type':'hotp','uuid':'01234567-89ab-cdef-0123-456789abcdef',"
                    "'name':'ada','issuer':'Kestrel','info':{'secret':'JBSWY3DPEHPK3PXP',"
                    "'algo':'SHA1','digits':6,'counter':1152921504606846976}}]}}")
            << u"Aegis 备份"_s << QStringList{u"Kestrel:ada JBSWY3DPEHPK3PXP #1152921504606846976/6 SHA1 328355"_s}
            << 0;
        QTest::newRow("2FAS, large counter")
            << json("{'schemaVersion':4,'services':[{'name':'Kestrel','secret':'JBSWY3DPEHPK3PXP',"
                    "'otp':{'account':'ada','digits':6,'counter':1152921504606846977,'tokenType':'HOTP'}}]}")
            << u"2FAS 备份"_s << QStringList{u"Kestrel:ada JBSWY3DPEHPK3PXP #1152921504606846977/6 SHA1 112337"_s} << 0;
        // Bitwarden quotes fields with commas, line breaks and quotes, as notes often have.
        QTest::newRow("Bitwarden, CSV with quoted fields")
            << "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp\r\n"
               ",,login,\"Mail, work\",\"line 1\nline \"\"2\"\",\",,0,,me,pw,JBSWY3DPEHPK3PXP\r\n,,note,a,,,,,,,\r\n"_ba
            << u"Bitwarden 导出（CSV）"_s << QStringList{u"Mail, work:me JBSWY3DPEHPK3PXP 30/6 SHA1 324550"_s} << 0;
    }
    void peerSamples()
    {
        QFETCH(QByteArray, bytes);
        const auto batch = ImportReader::read(bytes, u"test"_s);
        QVERIFY2(batch, batch ? "" : qPrintable(batch.error().description()));
        QTEST(batch->format, "format");
        QTEST(summary(*batch), "accounts");
        QTEST(int(batch->refused.size()), "refused");
    }

    // Icons, groups, notes and favourites as each peer keeps them (data/make_details_samples.py).
    void peerDetails_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("accounts");
        const QString work = u"工作#2d5b7a8e"_s, personal = u"Personal#9f2e6c14"_s;
        const QString trip = u"旅行 account\nsecond line"_s;
        QTest::newRow("Aegis, groups by uuid") << u"aegis_plain_details.json"_s
                                               << QStringList{u"Deno svg 46aa379f [%1] deploy key ★"_s.arg(work),
                                                              u"SPDX png 78d94c2b [%1,%2] "_s.arg(work, personal),
                                                              u"Airbnb jpeg 68cfb86d [%1] %2"_s.arg(personal, trip),
                                                              u"Issuu - [] counter-based"_s,
                                                              u"Air Canada - [] "_s,
                                                              u"WWE - [] "_s,
                                                              u"Boeing - [] "_s};
        QTest::newRow("Aegis, groups by name")
            << u"aegis_plain_grouped_v2.json"_s
            << QStringList{u"Deno - [group1] "_s, u"SPDX - [] "_s, u"Airbnb - [group1] "_s, u"Issuu - [group2] "_s,
                           u"Air Canada - [] "_s, u"WWE - [] "_s,  u"Boeing - [] "_s};
        QTest::newRow("2FAS") << u"2fas_groups.2fas"_s
                              << QStringList{u"Deno - [%1] "_s.arg(work), u"Issuu - [] "_s, u"Air Canada - [] "_s,
                                             u"WWE - [] "_s, u"Boeing - [] "_s};
        QTest::newRow("Ente, tags") << u"ente_auth_details.txt"_s
                                    << QStringList{u"Air+Canada - [] "_s,
                                                   u"Airbnb - [Personal] %1"_s.arg(trip),
                                                   u"Boeing - [] "_s,
                                                   u"Deno - [工作] deploy key ★"_s,
                                                   u"Issuu - [] counter-based"_s,
                                                   u"SPDX - [工作,Personal] "_s,
                                                   u"WWE - [] "_s};
    }
    void peerDetails()
    {
        QFETCH(QString, file);
        const auto batch = ImportReader::read(sample(file), u"test"_s);
        QVERIFY2(batch, batch ? "" : qPrintable(batch.error().description()));
        QTEST(details(batch->tokens), "accounts");
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
        const QByteArray ente = sample(u"ente_auth_encrypted.json"_s);
        QTest::newRow("Ente, wrong password") << ente << u"wrong"_s << Kind::wrongPasswordOrDamaged;
        QTest::newRow("Ente, data changed")
            << flipped(ente, "encryptedData") << u"test"_s << Kind::wrongPasswordOrDamaged;
        QTest::newRow("Ente, memory beyond the cap")
            << QByteArray(ente).replace("8388608", "8589934592") << u"test"_s << Kind::unsupported;
        QTest::newRow("Ente, bytes after its message")
            << withBytesAfterMessage(ente) << u"test"_s << Kind::wrongPasswordOrDamaged;
        QTest::newRow("Ente, later version")
            << QByteArray(ente).replace(R"("version": 1)", R"("version": 2)") << u"test"_s << Kind::unsupported;
        // The oldest andOTP format starts with a random nonce, which reads as a count over the cap.
        for (const auto &[file, refusal] : {std::pair("andotp_encrypted.bin", Kind::wrongPasswordOrDamaged),
                                            std::pair("andotp_encrypted_old.bin", Kind::wrongPasswordOrTooCostly),
                                            std::pair("stratum_encrypted.bin", Kind::wrongPasswordOrDamaged),
                                            std::pair("stratum_encrypted_legacy.bin", Kind::wrongPasswordOrDamaged)}) {
            QByteArray bytes = sample(QString::fromLatin1(file));
            QTest::addRow("%s, wrong password", file) << bytes << u"wrong"_s << refusal;
            bytes[bytes.size() - 20] = char(bytes[bytes.size() - 20] ^ 1);
            QTest::addRow("%s, a byte changed", file) << bytes << u"test"_s << refusal;
        }
        QTest::newRow("andOTP, iterations beyond the cap")
            << sample(u"andotp_encrypted.bin"_s).replace(0, 4, "\x7f\xff\xff\xff") << u"test"_s
            << Kind::wrongPasswordOrTooCostly;
        QTest::newRow("Authenticator Pro, cut after its header")
            << sample(u"stratum_encrypted.bin"_s).left(40) << u"test"_s << Kind::damaged;
        QTest::newRow("2FAS, wrong password") << twoFas << u"wrong"_s << Kind::wrongPassword;
        QTest::newRow("2FAS, services changed") << flipped(twoFas, "servicesEncrypted") << u"test"_s << Kind::damaged;
        QTest::newRow("2FAS, truncated") << twoFas.left(twoFas.size() - 40) << u"test"_s << Kind::damaged;
        QTest::newRow("Bitwarden, encrypted")
            << R"({"encrypted": true, "passwordProtected": true, "data": "2.x"})"_ba << right << Kind::unsupported;
        QTest::newRow("andOTP, truncated") << sample(u"andotp_plain.json"_s).chopped(9) << right << Kind::damaged;
        QTest::newRow("other JSON") << R"({"accounts": []})"_ba << right << Kind::unrecognized;
        QTest::newRow("text without links") << "secret: ABC\n"_ba << right << Kind::unrecognized;
        QTest::newRow("too large") << QByteArray(ImportReader::maxFileSize + 1, ' ') << right << Kind::tooLarge;
        QTest::newRow("more accounts than an import takes")
            << OtpauthLinks::write(QList<ImportedToken>(ImportBatch::maxEntries + 1, sampleTokens[0])) << right
            << Kind::tooManyAccounts;
    }
    void rejects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, password);
        QFETCH(Kind, error);
        const auto batch = ImportReader::read(bytes, password, cheap);
        QVERIFY(!batch);
        QCOMPARE(batch.error().kind(), error);
    }

    // A vault opens at whatever cost it names, up to the reader's cap.
    void opensAtAnyAcceptedCost_data()
    {
        QTest::addColumn<quint64>("n");
        QTest::newRow("cheaper than the reader writes") << quint64(1 << 9);
        QTest::newRow("dearer, at the cap") << quint64(1 << 11);
    }
    void opensAtAnyAcceptedCost()
    {
        QFETCH(quint64, n);
        const auto vault = AegisVault::write(sampleTokens, u"right"_s, {.scryptN = n});
        const auto batch = ImportReader::read(*vault, u"right"_s, {.scryptN = 1 << 10, .maxScryptN = 1 << 11});
        QVERIFY(batch);
        QCOMPARE(withoutIds(batch->tokens), sampleTokens);
    }

    // The opener derives off the main thread; a read started meanwhile replaces the first,
    // waits for its derivation and alone is answered.
    void openerAnswersTheLatestRead()
    {
        const TransferPlugin layer;
        ImportOpener opener(layer, QStringLiteral(CORVANE_BINARY));
        const QByteArray vault = *AegisVault::write(sampleTokens, u"test"_s, cheap);
        QStringList answers;
        const auto answer = [&](const ImportOpener::Result &result) {
            answers << (result ? QString::number(result->tokens.size()) : result.error().description());
        };
        opener.open(vault, u"test"_s, answer);
        QVERIFY(opener.isBusy());
        opener.open(vault, u"wrong"_s, answer);
        QTRY_VERIFY(!opener.isBusy());
        opener.open(vault, u"test"_s, answer);
        QTRY_VERIFY(!opener.isBusy());
        QCOMPARE(answers, (QStringList{u"密码不正确。"_s, u"3"_s}));
    }

    // A cancelled derivation is stopped, not waited for: the next one answers at once,
    // although the first alone takes far longer than QTRY_VERIFY waits.
    void keyDeriverStopsACancelledDerivation()
    {
        KeyDeriver deriver(QStringLiteral(CORVANE_BINARY));
        bool dropped = true;
        deriver.derive("pw",
                       {.function = KeyDerivation::Function::argon2id,
                        .salt = QByteArray(16, 's'),
                        .cost = 400,
                        .memoryKiB = 1 << 16},
                       [&](const std::optional<QByteArray> &) { dropped = false; });
        deriver.cancel();
        const KeyDerivation cheapest{.function = KeyDerivation::Function::sha256, .salt = {}};
        std::optional<std::optional<QByteArray>> answer;
        deriver.derive("pw", cheapest, [&](const std::optional<QByteArray> &key) { answer = key; });
        QTRY_VERIFY(answer);
        QVERIFY(dropped);
        QCOMPARE(*answer, cheapest.derive("pw"));
    }

    // Without its helper a derivation fails rather than leaving the password dialog waiting.
    void keyDeriverFailsWithoutItsProgram()
    {
        KeyDeriver deriver(u"/nonexistent/corvane"_s);
        std::optional<std::optional<QByteArray>> answer;
        deriver.derive("pw", {.function = KeyDerivation::Function::sha256, .salt = {}},
                       [&](const std::optional<QByteArray> &key) { answer = key; });
        QTRY_VERIFY(answer);
        QCOMPARE(*answer, std::nullopt);
    }

    // A large file takes a while to read: the opener reads it on a worker thread, before and
    // after the derivation.
    void openerReadsOffTheMainThread()
    {
        struct ThreadRecorder : TransferPlugin
        {
            using TransferPlugin::readBackup;
            std::expected<ImportBatch, TransferError> readBackup(const QByteArray &bytes, const QString &password,
                                                                 const DerivedKeyTable &keys, const KdfPolicy &policy,
                                                                 std::optional<KeyDerivation> &pending,
                                                                 std::stop_token stop) const override
            {
                onMainThread << (QThread::currentThread() == QCoreApplication::instance()->thread());
                return TransferPlugin::readBackup(bytes, password, keys, policy, pending, stop);
            }
            mutable QList<bool> onMainThread;
        } layer;
        ImportOpener opener(layer, QStringLiteral(CORVANE_BINARY));
        std::optional<ImportOpener::Result> answer;
        opener.open(*AegisVault::write(sampleTokens, u"test"_s, cheap), u"test"_s,
                    [&](const ImportOpener::Result &result) { answer = result; });
        QTRY_VERIFY(answer);
        QVERIFY(*answer);
        QCOMPARE(layer.onMainThread, (QList<bool>{false, false}));
    }

    // Files that take many seconds to read through: a read asked to stop ends soon after, as
    // cancelled, whether it was started through the layer or by an opener that is cancelled.
    void readStopsWhenAsked_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("throughOpener");
        const qsizetype size = ImportReader::maxFileSize - 1024;
        const QByteArray csv = "name,login_totp\n" + QByteArray("x,\n").repeated(size / 3);
        // As many links as an import takes, each as long as the file allows, none usable.
        const QByteArray link = "otpauth://totp/" + QByteArray("a b ").repeated(size / 5000 / 4 - 8) + "?secret=1\n";
        const QByteArray links = link.repeated(5000);
        QTest::newRow("Bitwarden CSV of short rows") << csv << false;
        QTest::newRow("link list of long unusable links") << links << false;
        QTest::newRow("opener cancelled during a Bitwarden CSV") << csv << true;
    }
    void readStopsWhenAsked()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, throughOpener);
        static const TransferPlugin layer; // outlives a read that fails to stop
        QThreadPool &pool = *QThreadPool::globalInstance();
        std::stop_source stop;
        QFuture<std::expected<ImportBatch, TransferError>> read;
        ImportOpener opener(layer, QStringLiteral(CORVANE_BINARY));
        bool answered = false;
        if (throughOpener)
            opener.open(file, u"pw"_s, [&](const ImportOpener::Result &) { answered = true; });
        else
            read = QtConcurrent::run([file, stop = stop.get_token()] { return layer.readBackup(file, {}, stop); });
        QTRY_COMPARE(pool.activeThreadCount(), 1);
        QTest::qWait(50); // into the file, well before its end in any build
        stop.request_stop();
        opener.cancel();
        QTRY_COMPARE(pool.activeThreadCount(), 0);
        QVERIFY(!answered);
        if (!throughOpener)
            QCOMPARE(read.result().error().kind(), TransferError::Kind::cancelled);
    }

    void linkListRefusesLinesWithTheirReason()
    {
        // The migration link is from dim13/otpauth's test data.
        const auto batch = ImportReader::read(
            "\n"_ba + OtpauthLinks::write(sampleTokens) + "otpauth://hotp/x?secret=AAAA\notpauth://totp/y?secret=1\n"
            + "otpauth-migration://offline?data=CjEKCkhlbGxvId6tvu8SGEV4YW1wbGU6YWxpY2VAZ29vZ2xlLmNvbRoHRXhhbXBsZTAC\n"
            + "otpauth-migration://offline?data=%%%\n  # written by a script\n"
            + "otpauth://totp/z?secret=JBSWY3DPEHPK3PXP&codeDisplay=%7B%22trashed%22%3Atrue%7D\n");
        QVERIFY(batch);
        const ImportedToken alice{u"alice@google.com"_s, u"Example"_s, u"JBSWY3DPEHPK3PXP"_s};
        const ImportedToken x{u"x"_s, {}, u"AAAA"_s, {.kind = OtpKind::Hotp}};
        QCOMPARE(batch->tokens, sampleTokens + QList<ImportedToken>({x, alice}));
        QCOMPARE(batch->refused.size(), 3);
        QCOMPARE(batch->refused[0], (ImportBatch::Refusal{u"第 6 行 y"_s, u"密钥或参数无效。"_s}));
        QCOMPARE(batch->refused[1].label, u"第 8 行"_s);
        QCOMPARE(batch->refused[2], (ImportBatch::Refusal{u"第 10 行 z"_s, u"已在 Ente 中移到回收站"_s}));
    }

    void setsAsideSecretsAlreadyListed()
    {
        ImportBatch batch{sampleTokens, {}, {}};
        batch.tokens.insert(1, {u"again"_s, {}, u"gezd gnbv-gy3t qojq gezd gnbv gy3t qojq=="_s});
        // The same secret counting instead of timing is another account.
        ImportedToken counting = sampleTokens[2];
        counting.otp.kind = OtpKind::Hotp;
        batch.tokens.append(counting);
        batch.setAsidePresent({sampleTokens[2]});
        QCOMPARE(batch.tokens, sampleTokens.first(2) << counting);
        QCOMPARE(batch.present.size(), 2);
    }

    // What one keyring exports, a fresh keyring imports with the same codes, and with the icon,
    // groups, note and favourite where the format holds them.
    void roundTripThroughStores_data()
    {
        QTest::addColumn<bool>("encrypted");
        QTest::addColumn<QList<ImportedToken>>("tokens");
        const QList<ImportedToken> hashesAndSteam{
            {u"sha512"_s, u"Bank"_s, u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s, {60, 8, HashAlgorithm::Sha512}},
            {u"steam"_s, u"Steam"_s, u"JRZCL47CMXVOQMNPZR2F7J4RGI"_s, {30, 5, HashAlgorithm::Sha1, OtpKind::Steam}}};
        ImportedToken kept{u"kept"_s, u"Deno"_s, u"4SJHB4GSD43FZBAI7C2HLRJGPQ"_s};
        kept.groups = {{QUuid::createUuid(), u"工作"_s}, {QUuid::createUuid(), u"Home"_s}};
        kept.note = u"two\nlines"_s;
        kept.favourite = true;
        QTest::newRow("Aegis vault") << true << sampleTokens + hashesAndSteam + counterTokens + QList{kept};
        QTest::newRow("otpauth links") << false << sampleTokens + counterTokens + QList{kept};
    }
    void roundTripThroughStores()
    {
        QFETCH(bool, encrypted);
        QFETCH(QList<ImportedToken>, tokens);
        const QByteArray svg = sample(u"icon_pack/icons/Deno.svg"_s);
        tokens.last().icon = AccountIcon::of(svg, IconType::Svg);
        FakeClock clock{1'700'000'000};
        TempSettings firstSettings, secondSettings;
        MemoryKeychain firstKeychain, secondKeychain;
        QTemporaryDir firstIcons, secondIcons;
        TokenStore first(firstKeychain, firstSettings.settings(), clock.function(), systemSingleShot, nullptr,
                         IconFolder(firstIcons.path()));
        TokenStore second(secondKeychain, secondSettings.settings(), clock.function(), systemSingleShot, nullptr,
                          IconFolder(secondIcons.path()));
        // One by one, as the add sheet adds, so that accounts sharing a secret are all listed.
        const auto addAll = [](TokenStore &store, const QList<ImportedToken> &list) {
            for (const ImportedToken &token : list.first(list.size() - 1))
                QVERIFY(added(store, token));
            QCOMPARE(addedAll(store, {list.last()}).added.size(), 1);
        };
        STEP(addAll(first, tokens));
        const QList<ImportedToken> exported = first.icons().withBytes(first.exportTokens());
        const auto bytes = encrypted ? AegisVault::write(exported, u"密码 pass"_s) : OtpauthLinks::write(exported);
        QVERIFY(bytes);
        const auto batch = ImportReader::read(*bytes, u"密码 pass"_s);
        QVERIFY(batch);
        // A vault holds each account's id as its entry's uuid.
        QCOMPARE(batch->tokens.last().id, encrypted ? first.accounts().last().id : QUuid());
        STEP(addAll(second, batch->tokens));
        // Names, parameters and secrets alike, in order; a link list keeps groups by name only, and no icon.
        QList<ImportedToken> imported = withoutIds(second.exportTokens());
        tokens.last().icon->bytes.clear();
        if (!encrypted) {
            tokens.last().icon.reset();
            for (qsizetype i = 0; i < imported.last().groups.size(); ++i)
                imported.last().groups[i].id = tokens.last().groups.value(i).id;
        }
        QCOMPARE(imported, tokens);
        QCOMPARE(second.icons().withBytes(imported).last().icon.value_or(AccountIcon()).bytes,
                 encrypted ? svg : QByteArray());
    }

    // A pack gives its icon to the accounts without one whose issuer it names, as its folder or
    // its zip; a malformed SVG and a PNG over 256 KiB are never given.
    void iconPackGivesIconsByIssuer_data()
    {
        QTest::addColumn<QString>("pack");
        QTest::newRow("folder") << u"icon_pack"_s;
        QTest::newRow("zip") << u"icon_pack.zip"_s;
    }
    void iconPackGivesIconsByIssuer()
    {
        QFETCH(QString, pack);
        const auto read = IconPackReader::read(QStringLiteral(CORVANE_TRANSFER_DATA "/") + pack);
        QVERIFY(read);
        QCOMPARE(read->icons.size(), 6);
        QCOMPARE(read->icons[0].issuers, (QStringList{u"Boeing"_s, u"Boeing Company"_s}));
        QCOMPARE(read->icons[0].category, u"Travel"_s);
        QCOMPARE(read->match(u"wwe"_s), 1);
        QCOMPARE(read->match(u"Wrestling"_s), 1); // a name holding the issuer, as Aegis suggests
        QVERIFY(!read->match(u"Kestrel"_s) && !read->match(QString()));
        StoreFixture fixture;
        QTemporaryDir icons;
        TokenStore store(fixture.keychain, fixture.settings.settings(), fixture.clock.function(),
                         fixture.clock.singleShot(), nullptr, IconFolder(icons.path()));
        QVERIFY(addedAll(store, ImportReader::read(sample(u"aegis_plain_details.json"_s))->tokens).refused.isEmpty());
        const qsizetype given = awaitKeychain<qsizetype>([&](auto done) { store.applyIconPack(*read, done); });
        QCOMPARE(given, 2);
        QCOMPARE(
            details(store.exportTokens()),
            (QStringList{u"Deno svg 46aa379f [工作#2d5b7a8e] deploy key ★"_s,
                         u"SPDX png 78d94c2b [工作#2d5b7a8e,Personal#9f2e6c14] "_s,
                         u"Airbnb jpeg 68cfb86d [Personal#9f2e6c14] 旅行 account\nsecond line"_s,
                         u"Issuu - [] counter-based"_s, u"Air Canada - [] "_s,
                         u"WWE png "_s + AccountIcon::of(read->icons[1].bytes, IconType::Png).hash.left(8) + u" [] "_s,
                         u"Boeing svg "_s + AccountIcon::of(read->icons[0].bytes, IconType::Svg).hash.left(8)
                             + u" [] "_s}));
        QCOMPARE(QDir(icons.path()).entryList(QDir::Files).size(), 5);
        const auto damaged = IconPackReader::read(QStringLiteral(CORVANE_TRANSFER_DATA "/aegis_plain.json"));
        QVERIFY(!damaged);
    }

    // Counter-based accounts leave in a vault that a decryptor written from Aegis's format
    // description opens, with their counters: the second is one more than a double holds.
    void exportOpensInOutsideDecryptor()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"vault.json"_s);
        QVERIFY(SafeFile::write(path, *AegisVault::write(sampleTokens.first(1) + counterTokens, u"pw"_s, cheap)));
        QProcess oracle;
        oracle.start(u"/usr/bin/python3"_s, {QStringLiteral(CORVANE_VAULT_ORACLE), path});
        oracle.write("pw\n");
        oracle.closeWriteChannel();
        QVERIFY(oracle.waitForFinished(60000));
        QCOMPARE(oracle.exitCode(), 0);
        QCOMPARE(oracle.readAllStandardOutput().trimmed(),
                 R"([["totp", "alice@example.com", "GitHub", "GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", "SHA1", 6, 30], )"
                 R"(["hotp", "counter", "HOTP", "JBSWY3DPEHPK3PXP", "SHA256", 8, 4294967296], )"
                 R"(["hotp", "large", "HOTP", "GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", "SHA1", 6, 9007199254740993]])");
    }

    // A secret of a length strict decoders refuse is written as the Base32 of the bytes its codes
    // come from; oathtool, as strict as Aegis, reads it and gives the same code.
    void exportsSecretsAsCanonicalBase32()
    {
        const ImportedToken odd{u"odd"_s, {}, u"abcd efgh i"_s};
        const auto batch = ImportReader::read(*AegisVault::write({odd}, u"pw"_s, cheap), u"pw"_s);
        QVERIFY(batch);
        const QString secret = batch->tokens.value(0).secret;
        QCOMPARE(secret, u"ABCDEFGH"_s);
        QVERIFY(OtpauthLinks::link(odd).contains(u"secret=ABCDEFGH&"));
        QProcess oathtool;
        oathtool.start(u"oathtool"_s, {u"--totp"_s, u"-b"_s, u"-N"_s, u"@1700000000"_s, u"-"_s});
        oathtool.write(secret.toLatin1());
        oathtool.closeWriteChannel();
        QVERIFY(oathtool.waitForFinished());
        QCOMPARE(oathtool.readAllStandardOutput().trimmed(),
                 TOTPGenerator::code(odd.secret, sampleTime, 30, 6).value_or(QString()).toLatin1());
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
        QVERIFY(SafeFile::write(path, "new"_ba));
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
        QVERIFY(SafeFile::write(dir.filePath(u"backup.json"_s), "new"_ba));
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(u"fifo"_s)).constData(), 0600) == 0);
        QFile large(dir.filePath(u"large"_s));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(ImportReader::maxFileSize + 1));
        std::optional<SlicedFileReader::Result> result;
        SlicedFileReader reader(dir.filePath(name), [&](SlicedFileReader::Result read) { result = read; });
        QTRY_VERIFY(result);
        QFETCH(std::optional<Kind>, error);
        if (error)
            QCOMPARE(result->error().kind(), *error);
        else
            QCOMPARE(*result, "new"_ba);
    }
};

QTEST_GUILESS_MAIN(TestImportReader)
#include "tst_importreader.moc"
