#include "ui/AccentButton.h"
#include "ui/BackupSetupSheet.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// The automatic backup sheet asks for what turning backups on needs, and no less.
class TestBackupSetupSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void primaryNeedsFolderAndPassword_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("off: folder and password twice") << false << u"/b"_s << u"12345678"_s << u"12345678"_s << true;
        QTest::newRow("off: no folder") << false << QString() << u"12345678"_s << u"12345678"_s << false;
        QTest::newRow("off: no password") << false << u"/b"_s << QString() << QString() << false;
        QTest::newRow("off: too short") << false << u"/b"_s << u"1234567"_s << u"1234567"_s << false;
        QTest::newRow("off: typed differently") << false << u"/b"_s << u"12345678"_s << u"12345679"_s << false;
        QTest::newRow("on: the same key") << true << u"/b"_s << QString() << QString() << true;
        QTest::newRow("on: a new password typed once") << true << u"/b"_s << u"12345678"_s << QString() << false;
    }
    void primaryNeedsFolderAndPassword()
    {
        QFETCH(bool, on);
        QFETCH(QString, folder);
        QFETCH(QString, password);
        QFETCH(QString, repeat);
        BackupSetupSheet sheet({.on = on, .folder = folder});
        sheet.passwordField()->setText(password);
        sheet.repeatField()->setText(repeat);
        QTEST(sheet.primaryButton()->isEnabled(), "enabled");
        QCOMPARE(sheet.turnOffButton() != nullptr, on);
    }

    void asksWithWhatWasTyped()
    {
        BackupSetupSheet sheet({.folder = u"/b"_s});
        QCOMPARE(sheet.keepField()->value(), 10);
        sheet.keepField()->setValue(1);
        QCOMPARE(sheet.keepField()->value(), BackupPolicy::minimumKeep);
        QSignalSpy asked(&sheet, &BackupSetupSheet::setUpRequested);
        sheet.passwordField()->setText(u"correct horse"_s);
        sheet.repeatField()->setText(u"correct horse"_s);
        sheet.primaryButton()->click();
        QCOMPARE(asked.value(0), QVariantList({u"/b"_s, u"correct horse"_s, BackupPolicy::minimumKeep}));
    }

    // A failed setup keeps the sheet and what was typed, with the reason inside it, wrapped
    // whole; the next try closes it.
    void staysOpenWithTheReasonWhenSettingUpFails()
    {
        BackupSetupSheet sheet({.folder = u"/b"_s});
        sheet.show();
        sheet.passwordField()->setText(u"correct horse"_s);
        sheet.repeatField()->setText(u"correct horse"_s);
        sheet.primaryButton()->click();
        QVERIFY(sheet.isVisible() && !sheet.primaryButton()->isEnabled()); // once at a time
        const QString reason = u"The password differs from the one of another computer's backups in the folder."_s;
        sheet.setUpFinished(std::unexpected(reason));
        QVERIFY(sheet.isVisible() && sheet.primaryButton()->isEnabled());
        QCOMPARE(sheet.passwordField()->text(), u"correct horse"_s);
        const QLabel *line = sheet.failureLine();
        QVERIFY(line->isVisible() && line->text() == reason);
        QVERIFY(line->height() >= line->heightForWidth(line->width()) && line->height() > line->fontMetrics().height());
        QVERIFY(line->geometry().right() < sheet.scrollArea()->viewport()->width());
        sheet.primaryButton()->click();
        QVERIFY(!line->isVisible());
        sheet.setUpFinished({});
        QVERIFY(!sheet.isVisible());
    }
};

QTEST_MAIN(TestBackupSetupSheet)
#include "tst_backupsetupsheet.moc"
