#include "ui/AccentButton.h"
#include "ui/BackupRestoreSheet.h"

#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(BackupRestoreSheet::Item)

using State = BackupRestoreSheet::Item::State;
constexpr int narrowest = 400;

// The restore sheet names each backup's computer and what it holds, offers the likely one,
// and lets only a backup that can be read be chosen.
class TestBackupRestoreSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choosesOnlyWhatCanBeRead_data()
    {
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

    void preselectsTheNewestWithAccounts_data()
    {
        QTest::addColumn<QList<int>>("accounts"); // newest first; -1: needs its password, -2: unreadable
        QTest::addColumn<int>("selected");
        QTest::newRow("an empty backup above one with accounts") << QList<int>{0, 17, 5} << 1;
        QTest::newRow("else one that needs its password") << QList<int>{-2, 0, -1} << 2;
        QTest::newRow("the newest") << QList<int>{4, 17} << 0;
    }
    void preselectsTheNewestWithAccounts()
    {
        QFETCH(QList<int>, accounts);
        QList<BackupRestoreSheet::Item> items;
        for (const int count : accounts)
            items.append({u"alpha"_s,
                          true,
                          {},
                          count >= 0    ? State::opened
                          : count == -1 ? State::needsPassword
                                        : State::unreadable,
                          std::max(count, 0)});
        BackupRestoreSheet sheet;
        sheet.setItems(items);
        QTEST(sheet.list()->currentRow(), "selected");
    }

    void sizesToItsBackups_data()
    {
        QTest::addColumn<QString>("computer");
        QTest::addColumn<int>("backups");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("a few") << u"vm #3f2a"_s << 3 << false;
        QTest::newRow("a long name") << u"accounting-workstation-2 #3f2a"_s << 2 << false;
        QTest::newRow("more than a screenful") << u"vm #3f2a"_s << 12 << true;
    }
    // Every backup's lines whole; a few backups in view, the older ones scroll.
    void sizesToItsBackups()
    {
        QFETCH(QString, computer);
        QFETCH(int, backups);
        BackupRestoreSheet sheet;
        sheet.show();
        sheet.setItems(
            QList<BackupRestoreSheet::Item>(backups, {computer, true, QDateTime::currentDateTime(), State::opened, 3}));
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        const QListWidget *list = sheet.list();
        QVERIFY(list->viewport()->width() >= list->sizeHintForColumn(0));
        QCOMPARE(sheet.width() > narrowest, computer.size() > 20);
        QTEST(list->verticalScrollBar()->isVisible(), "scrolls");
        QVERIFY(list->viewport()->height() >= std::min(backups, 5) * list->sizeHintForRow(0));
        QVERIFY(!sheet.scrollArea()->verticalScrollBar()->isVisible());
    }
};

QTEST_MAIN(TestBackupRestoreSheet)
#include "tst_backuprestoresheet.moc"
