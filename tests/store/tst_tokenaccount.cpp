#include "store/AccountSearch.h"
#include "store/IconCheck.h"
#include "store/IconFolder.h"
#include "store/TokenAccount.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

static const QByteArray goodRecord =
    R"({"id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8","name":"alice","issuer":"GitHub","period":30,"digits":6})";
static const QString iconHash = u"2c26b46b68ffc68ff99b453c1d30413413422d706483bfa0f98a5e886266e7ae"_s;
static QByteArray changed(const char *from, const QByteArray &to)
{
    return QByteArray(goodRecord).replace(from, to);
}

class TestTokenAccount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsOrderAndFields()
    {
        const QList<TokenAccount> accounts{
            {QUuid::createUuid(), u"张三@example.com"_s, u""_s, {30, 6}},
            {QUuid::createUuid(), u"b"_s, u"Acme"_s, {-7, 9'000'000'000'000'000'000}},
            {QUuid::createUuid(), u"c"_s, u"Bank"_s, {60, 8, HashAlgorithm::Sha256}},
            {QUuid::createUuid(), u"d"_s, u""_s, {30, 8, HashAlgorithm::Sha512}},
            {QUuid::createUuid(), u"e"_s, u"Steam"_s, {30, 5, HashAlgorithm::Sha1, OtpKind::Steam}},
            // Counters beyond 2^53 and 2^63 come back whole.
            {QUuid::createUuid(), u"f"_s, u""_s, {30, 6, HashAlgorithm::Sha1, OtpKind::Hotp, 9}},
            {QUuid::createUuid(), u"g"_s, u""_s, {30, 8, HashAlgorithm::Sha256, OtpKind::Hotp, ~0ull}},
            // What a person keeps with an account: an icon by hash and type, groups, a note, a favourite.
            {QUuid::createUuid(),
             u"h"_s,
             u"Deno"_s,
             {30, 6},
             AccountIcon{iconHash, IconType::Svg},
             {QUuid::createUuid(), QUuid::createUuid()},
             u"第一行\nsecond"_s,
             true},
        };
        const QByteArray document = TokenAccount::encodeList(accounts);
        QVERIFY(!document.contains('\n'));
        QCOMPARE(TokenAccount::decodeList(document), accounts);
        // Only what differs from a plain account is written.
        QCOMPARE(document.count("\"algorithm\""), 3);
        QVERIFY(document.contains(R"("algorithm":"SHA256")") && document.contains(R"("algorithm":"SHA512")"));
        QCOMPARE(document.count(R"("steam":true)"), 1);
        QCOMPARE(document.count(R"("type":"hotp")"), 2);
        QVERIFY(document.contains(R"("counter":"9")") && document.contains(R"("counter":"18446744073709551615")"));
        QCOMPARE(document.count(R"("iconType":"svg")"), 1);
        QCOMPARE(document.count(R"("favourite":true)"), 1);
        QCOMPARE(document.count(R"("groups")"), 1);
        QCOMPARE(TokenAccount::encodeList({}), "[]"_ba);
        QVERIFY(!TokenAccount::decodeList("{}") && !TokenAccount::decodeList("[" + goodRecord));
    }

    void readsTolerantly_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("name");
        QTest::addColumn<HashAlgorithm>("algorithm");
        QTest::addColumn<bool>("steam");

        QTest::newRow("extra member") << changed("}", R"(,"color":"red"})") << u"alice"_s << HashAlgorithm::Sha1
                                      << false;
        QTest::newRow("members in another order") << QByteArray(
            R"({"digits":6,"period":30,"issuer":"","name":"bob","id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8"})")
                                                  << u"bob"_s << HashAlgorithm::Sha1 << false;
        QTest::newRow("lower-case id") << changed("6BA7B810-9DAD-11D1-80B4-00C04FD430C8",
                                                  "6ba7b810-9dad-11d1-80b4-00c04fd430c8")
                                       << u"alice"_s << HashAlgorithm::Sha1 << false;
        QTest::newRow("algorithm in lower case, steam false")
            << changed("}", R"(,"algorithm":"sha512","steam":false})") << u"alice"_s << HashAlgorithm::Sha512 << false;
        QTest::newRow("steam") << changed(":6}", R"(:5,"steam":true})") << u"alice"_s << HashAlgorithm::Sha1 << true;
    }

    void readsTolerantly()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, name);
        QFETCH(HashAlgorithm, algorithm);
        QFETCH(bool, steam);
        const auto accounts = TokenAccount::decodeList("[" + document + "]");
        QVERIFY(accounts);
        QCOMPARE(accounts->size(), 1);
        QCOMPARE(accounts->first().name, name);
        QCOMPARE(accounts->first().otp.algorithm, algorithm);
        QCOMPARE(accounts->first().otp.isSteam(), steam);
        // Written back canonically: upper-case id, the five members, the others only when not the default.
        const QJsonObject written =
            QJsonDocument::fromJson(TokenAccount::encodeList(*accounts)).array().first().toObject();
        QCOMPARE(written.value(u"id"_s).toString(), u"6BA7B810-9DAD-11D1-80B4-00C04FD430C8"_s);
        QStringList keys{u"digits"_s, u"id"_s, u"issuer"_s, u"name"_s, u"period"_s};
        if (algorithm != HashAlgorithm::Sha1)
            keys.prepend(u"algorithm"_s);
        if (steam)
            keys.append(u"steam"_s);
        QCOMPARE(written.keys(), keys);
    }

    void rejectsWholeDocument_data()
    {
        QTest::addColumn<QByteArray>("bad"); // a record beside a good one

        QTest::newRow("missing issuer") << changed(R"("issuer":"GitHub",)", "");
        QTest::newRow("fractional period") << changed(R"("period":30)", R"("period":30.5)");
        QTest::newRow("period as string") << changed(R"("period":30)", R"("period":"30")");
        QTest::newRow("digits beyond 64 bits") << changed(":6}", ":1e19}");
        QTest::newRow("name as number") << changed(R"("alice")", "1");
        QTest::newRow("id not a UUID") << changed("6BA7B810-9DAD-11D1-80B4-00C04FD430C8", "not-a-uuid");
        QTest::newRow("id with braces") << changed(R"("6BA7B810-9DAD-11D1-80B4-00C04FD430C8")",
                                                   R"("{6BA7B810-9DAD-11D1-80B4-00C04FD430C8}")");
        QTest::newRow("record not an object") << QByteArray("42");
        QTest::newRow("unknown algorithm") << changed("}", R"(,"algorithm":"MD5"})");
        QTest::newRow("steam as string") << changed("}", R"(,"steam":"1"})");
        QTest::newRow("type without a counter") << changed("}", R"(,"type":"hotp"})");
        QTest::newRow("type totp") << changed("}", R"(,"type":"totp","counter":"1"})");
        QTest::newRow("counter as number") << changed("}", R"(,"type":"hotp","counter":1})");
        QTest::newRow("negative counter") << changed("}", R"(,"type":"hotp","counter":"-1"})");
        QTest::newRow("counter beyond 64 bits") << changed("}", R"(,"type":"hotp","counter":"18446744073709551616"})");
        QTest::newRow("steam and hotp") << changed("}", R"(,"steam":true,"type":"hotp","counter":"1"})");
        QTest::newRow("icon without its type") << changed("}", ",\"icon\":\"" + iconHash.toLatin1() + "\"}");
        QTest::newRow("icon hash not hex") << changed("}", R"(,"icon":"ab","iconType":"png"})");
        QTest::newRow("unknown icon type")
            << changed("}", ",\"icon\":\"" + iconHash.toLatin1() + "\",\"iconType\":\"gif\"}");
        QTest::newRow("group not a uuid") << changed("}", R"(,"groups":["work"]})");
        QTest::newRow("note as number") << changed("}", R"(,"note":1})");
        QTest::newRow("favourite as string") << changed("}", R"(,"favourite":"yes"})");
    }

    void groupsAndSearch()
    {
        const QList<AccountGroup> groups{{QUuid::createUuid(), u"工作"_s}, {QUuid::createUuid(), u"Home"_s}};
        QCOMPARE(TokenAccount::decodeGroups(TokenAccount::encodeGroups(groups)), groups);
        QVERIFY(!TokenAccount::decodeGroups(R"([{"id":"x","name":"a"}])") && !TokenAccount::decodeGroups("{}"));
        TokenAccount account{QUuid::createUuid(), u"alice"_s, u"GitHub"_s, {}};
        account.groups = {groups[0].id};
        account.note = u"Recovery codes in the safe"_s;
        // The filter finds the note and the name of a group the account is in, not another group's.
        QVERIFY(account.matches(u"git"_s, groups) && account.matches(u"SAFE"_s, groups));
        QVERIFY(account.matches(u"工作"_s, groups) && !account.matches(u"home"_s, groups));
        QVERIFY(!account.matches(u"safe"_s) && !account.matches(u"工作"_s));
    }

    // Only pictures Qt draws, by their bytes, and no SVG that runs code or fetches anything.
    void iconCheck_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("type"); // -1: refused
        const auto picture = [](const char *format) {
            QImage image(16, 16, QImage::Format_RGB32);
            image.fill(Qt::blue);
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, format);
            return buffer.data();
        };
        const QByteArray open = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
                                " width=\"16\" height=\"16\">";
        const QByteArray circle = "<circle id=\"c\" cx=\"8\" cy=\"8\" r=\"7\" fill=\"red\"/>";
        const auto svg = [&](const QByteArray &inside) { return open + inside + "</svg>"; };
        QTest::newRow("PNG") << picture("PNG") << int(IconType::Png);
        QTest::newRow("JPEG") << picture("JPEG") << int(IconType::Jpeg);
        QTest::newRow("SVG") << svg(circle) << int(IconType::Svg);
        QTest::newRow("SVG using itself")
            << svg("<linearGradient id=\"g\"/>" + circle + "<use xlink:href=\"#c\" fill=\"url(#g)\"/>")
            << int(IconType::Svg);
        QTest::newRow("PNG cut short") << picture("PNG").left(40) << -1;
        QTest::newRow("GIF") << QByteArray("GIF89a\x01\0\x01\0\0\0\0;") << -1;
        QTest::newRow("SVG with a script") << svg(circle + "<script>alert(1)</script>") << -1;
        QTest::newRow("SVG with a handler") << svg("<circle r=\"7\" onload=\"alert(1)\"/>") << -1;
        QTest::newRow("SVG with an outside image") << svg("<image xlink:href=\"https://example.com/a.png\"/>") << -1;
        QTest::newRow("SVG with an outside style")
            << svg("<style>@import url(https://example.com/a.css);</style>") << -1;
        QTest::newRow("SVG filled from outside") << svg("<rect width=\"9\" fill=\"url(file:///etc/x#a)\"/>") << -1;
        QTest::newRow("SVG with entities")
            << "<!DOCTYPE svg [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" + svg("<text>&x;</text>") << -1;
        QTest::newRow("malformed SVG") << open + circle << -1;
        QTest::newRow("not SVG") << QByteArray("<html><body/></html>") << -1;
        QTest::newRow("SVG over 256 KiB") << svg(circle + "<!--" + QByteArray(IconCheck::maxBytes, 'x') + "-->") << -1;
    }
    void iconCheck()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, type);
        const auto found = IconCheck::typeOf(bytes);
        QCOMPARE(found ? int(*found) : -1, type);
        // Kept in a file named by the bytes' SHA-256, readable by the owner only, and read back whole.
        QTemporaryDir dir;
        const IconFolder folder(dir.path());
        const auto icon = folder.save(bytes);
        QCOMPARE(icon.has_value(), type >= 0);
        if (!icon)
            return;
        QCOMPARE(icon->hash, QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
        QCOMPARE(QFile(folder.filePath(*icon)).permissions(),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
        QCOMPARE(folder.read(*icon), bytes);
    }

    void rejectsWholeDocument()
    {
        QFETCH(QByteArray, bad);
        QVERIFY(!TokenAccount::decodeList("[" + goodRecord + "," + bad + "]"));
    }
    // Issuers and names as the panel shows them; the expected ids are the accounts' list places.
    void searchRanksExactIssuerFirst_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QList<int>>("found");
        QTest::addColumn<QList<int>>("named");
        QTest::newRow("exact issuer before a prefix and a name") << u"kestrel"_s << QList{2, 1, 0} << QList{2};
        QTest::newRow("prefix before a name, in list order") << u"KEST"_s << QList{1, 2, 0} << QList{1, 2, 0};
        QTest::newRow("every term must find it") << u"bank  alice"_s << QList{1} << QList{1};
        QTest::newRow("a name alone") << u"Bob"_s << QList{2} << QList{2};
        QTest::newRow("nothing") << u"heron"_s << QList<int>() << QList<int>();
        QTest::newRow("no terms") << u"  "_s << QList<int>() << QList<int>();
    }

    void searchRanksExactIssuerFirst()
    {
        QFETCH(QString, query);
        QFETCH(QList<int>, found);
        QFETCH(QList<int>, named);
        const QList<TokenAccount> accounts{{QUuid::createUuid(), u"kestrel-watch"_s, u"Owl"_s, {}},
                                           {QUuid::createUuid(), u"alice"_s, u"Kestrel Bank"_s, {}},
                                           {QUuid::createUuid(), u"bob"_s, u"Kestrel"_s, {}}};
        QList<int> places;
        for (const AccountSearch::Match &match : AccountSearch::find(accounts, AccountSearch::terms(query)))
            places << int(accounts.indexOf(match.account));
        QCOMPARE(places, found);
        places.clear();
        for (const TokenAccount &account : AccountSearch::named(accounts, query))
            places << int(accounts.indexOf(account));
        QCOMPARE(places, named);
    }
};

QTEST_GUILESS_MAIN(TestTokenAccount)
#include "tst_tokenaccount.moc"
