#include "backup/BackupComputer.h"
#include "backup/BackupFolder.h"
#include "backup/BackupName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// Names of automatic backups, and which files rotation may remove, in real folders.
class TestBackupFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void safeHost_data()
    {
        QTest::addColumn<QString>("hostName");
        QTest::addColumn<QString>("host");
        QTest::newRow("short name of a domain name") << u"my-laptop.example.org"_s << u"my-laptop"_s;
        QTest::newRow("spaces, quotes and letters beyond ASCII") << u"Zoë's PC"_s << u"Zo__s_PC"_s;
        QTest::newRow("a path separator") << u"a/b"_s << u"a_b"_s;
        QTest::newRow("no name") << QString() << u"computer"_s;
    }
    void safeHost()
    {
        QFETCH(QString, hostName);
        QFETCH(QString, host);
        QCOMPARE(BackupName::safeHost(hostName), host);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("host"); // empty: not a backup's name
        QTest::addColumn<int>("suffix");
        QTest::newRow("plain") << u"corvane-backup-alpha-20261207-120102.json"_s << u"alpha"_s << 1;
        QTest::newRow("host with dashes") << u"corvane-backup-my-pc-20261207-120102.json"_s << u"my-pc"_s << 1;
        QTest::newRow("taken name") << u"corvane-backup-alpha-20261207-120102-3.json"_s << u"alpha"_s << 3;
        QTest::newRow("temporary file") << u"corvane-backup-alpha-20261207-120102.json.Ab12Cd"_s << QString() << 0;
        QTest::newRow("no such date") << u"corvane-backup-alpha-20261340-120102.json"_s << QString() << 0;
        QTest::newRow("no host") << u"corvane-backup-20261207-120102.json"_s << QString() << 0;
        QTest::newRow("suffix one") << u"corvane-backup-alpha-20261207-120102-1.json"_s << QString() << 0;
        QTest::newRow("someone's copy") << u"corvane-backup-alpha-20261207-120102 (1).json"_s << QString() << 0;
    }
    void parse()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, host);
        QFETCH(int, suffix);
        const auto name = BackupName::parse(fileName);
        QCOMPARE(name.has_value(), !host.isEmpty());
        if (!name)
            return;
        QCOMPARE(name->host, host);
        QCOMPARE(name->suffix, suffix);
        QCOMPARE(name->fileName(), fileName);
    }

    void rotate_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("keep");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QStringList>("removed");
        // Files stamped with another home's id on this machine, and files too large to read.
        QTest::addColumn<QStringList>("otherHome");
        QTest::addColumn<QStringList>("unreadable");
        const QStringList mine{name(u"alpha"_s, 1), name(u"alpha"_s, 2), name(u"alpha"_s, 3), name(u"alpha"_s, 4)};
        const QStringList none;
        QTest::newRow("the oldest beyond keep") << mine << 3 << mine[3] << QStringList{mine[0]} << none << none;
        QTest::newRow("nothing while under keep") << mine << 4 << mine[3] << none << none << none;
        QTest::newRow("another computer's and foreign files stay")
            << (mine + QStringList{name(u"beta"_s, 0), u"corvane-backup-alpha.json"_s, u"notes.txt"_s}) << 3 << mine[3]
            << QStringList{mine[0]} << none << none;
        // The clock went back: the one just verified is kept over a newer-named one.
        QTest::newRow("written counts first whatever its time")
            << mine << 3 << mine[0] << QStringList{mine[1]} << none << none;
        QTest::newRow("a taken name's suffix is newer")
            << QStringList{name(u"alpha"_s, 1), name(u"alpha"_s, 1).replace(u".json"_s, u"-2.json"_s)} << 3
            << name(u"alpha"_s, 2) << none << none << none;
        QTest::newRow("another home with the same host name stays")
            << mine << 1 << mine[3] << QStringList{mine[1]} << QStringList{mine[0], mine[2]} << none;
        QTest::newRow("an unreadable file stays")
            << mine << 1 << mine[3] << QStringList{mine[1]} << none << QStringList{mine[0], mine[2]};
    }
    void rotate()
    {
        QFETCH(QStringList, files);
        QFETCH(int, keep);
        QFETCH(QString, written);
        QFETCH(QStringList, removed);
        QFETCH(QStringList, otherHome);
        QFETCH(QStringList, unreadable);
        QTemporaryDir folder;
        const QString id = BackupComputer::newId();
        for (const QString &file : files + QStringList{written}) {
            QFile f(folder.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(BackupComputer::stamped("{}", otherHome.contains(file) ? BackupComputer::newId() : id));
            if (unreadable.contains(file))
                QVERIFY(f.resize(17 << 20));
        }
        QCOMPARE(BackupFolder::rotate(folder.path(), u"alpha"_s, id, keep, written), removed);
        for (const QString &file : files + QStringList{written})
            QCOMPARE(QFile::exists(folder.filePath(file)), !removed.contains(file));
    }

    void leftoversOfCutOffWrites_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("minutesOld");
        QTest::addColumn<bool>("removed");
        const QString temporary = name(u"alpha"_s, 1) + u".Ab12Cd"_s;
        QTest::newRow("this computer's, old") << temporary << 11 << true;
        QTest::newRow("this computer's, being written") << temporary << 0 << false;
        QTest::newRow("another computer's") << name(u"beta"_s, 1) + u".Ab12Cd"_s << 11 << false;
        QTest::newRow("a backup") << name(u"alpha"_s, 1) << 11 << false;
        QTest::newRow("not a backup's name") << u"corvane-backup-alpha.json.Ab12Cd"_s << 11 << false;
    }
    void leftoversOfCutOffWrites()
    {
        QFETCH(QString, file);
        QFETCH(int, minutesOld);
        QFETCH(bool, removed);
        QTemporaryDir folder;
        QFile f(folder.filePath(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutesOld), QFile::FileModificationTime));
        f.close();
        BackupFolder::removeLeftovers(folder.path(), u"alpha"_s, std::chrono::minutes(10));
        QCOMPARE(!QFile::exists(folder.filePath(file)), removed);
    }

private:
    static QString name(const QString &host, int minute)
    {
        return BackupName{host, QDateTime(QDate(2026, 12, 7), QTime(12, minute, 0))}.fileName();
    }
};

QTEST_GUILESS_MAIN(TestBackupFolder)
#include "tst_backupfolder.moc"
