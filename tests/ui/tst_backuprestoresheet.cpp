#include "ui/AccentButton.h"
#include "ui/BackupRestoreSheet.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(BackupRestoreSheet::Item)

// The restore sheet names each backup's computer and what it holds, and lets only a backup
// that can be read be chosen.
class TestBackupRestoreSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choosesOnlyWhatCanBeRead_data()
    {
        using State = BackupRestoreSheet::Item::State;
        QTest::addColumn<BackupRestoreSheet::Item>("item");
        QTest::addColumn<QString>("computer");
        QTest::addColumn<QString>("holds");
        QTest::addColumn<bool>("choosable");
        const QDateTime time(QDate(2026, 12, 7), QTime(9, 30));
        QTest::newRow("this computer's") << BackupRestoreSheet::Item{u"alpha"_s, true, time, State::opened, 3}
                                         << u"alpha（这台电脑）"_s << u"3 个账户"_s << true;
        QTest::newRow("another password") << BackupRestoreSheet::Item{u"beta"_s, false, time, State::needsPassword}
                                          << u"beta"_s << u"需要密码"_s << true;
        QTest::newRow("unreadable") << BackupRestoreSheet::Item{u"gamma"_s, false, time, State::unreadable}
                                    << u"gamma"_s << u"无法读取"_s << false;
    }
    void choosesOnlyWhatCanBeRead()
    {
        QFETCH(BackupRestoreSheet::Item, item);
        QFETCH(QString, computer);
        QFETCH(QString, holds);
        QFETCH(bool, choosable);
        BackupRestoreSheet sheet;
        sheet.setItems({item});
        const QStringList lines = sheet.list()->item(0)->text().split(u'\n');
        QVERIFY(lines.constFirst().startsWith(computer + u" · "_s));
        QCOMPARE(lines.constLast(), holds);
        QCOMPARE(sheet.primaryButton()->isEnabled(), choosable);
        QSignalSpy chosen(&sheet, &BackupRestoreSheet::chosen);
        Q_EMIT sheet.list()->itemActivated(sheet.list()->item(0));
        QCOMPARE(chosen.size(), choosable ? 1 : 0);
    }
};

QTEST_MAIN(TestBackupRestoreSheet)
#include "tst_backuprestoresheet.moc"
