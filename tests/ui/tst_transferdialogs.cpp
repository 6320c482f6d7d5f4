#include "support/QrImage.h"
#include "transfer/QrDecoder.h"
#include "ui/AccentButton.h"
#include "ui/AccountQrDialog.h"
#include "ui/ImportSummaryDialog.h"
#include "ui/PasswordDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestTransferDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A long link: a name in Chinese, percent-encoded, and a long secret.
    void qrCodeReadsBackAsTheLink()
    {
        const QString link = u"otpauth://totp/%E5%8F%91%E8%A1%8C%E8%80%85:%E5%90%8D%E5%AD%97?secret="_s
                             + QString(103, u'A')
                             + u"&issuer=%E5%8F%91%E8%A1%8C%E8%80%85&algorithm=SHA1&digits=8&period=60"_s;
        const QImage image = qrImage(link, 4);
        QCOMPARE(QrDecoder::decode({image.constBits(), image.width(), image.height(), image.bytesPerLine()}),
                 QStringList{link});
    }

    void qrCodeClosesItselfAfterAMinute()
    {
        QPointer<AccountQrDialog> dialog = new AccountQrDialog(u"otpauth://totp/a?secret=AAAA"_s, u"a"_s);
        dialog->show();
        auto *ticker = dialog->findChild<QTimer *>();
        for (int second = 1; second < AccountQrDialog::visibleSeconds; ++second)
            QMetaObject::invokeMethod(ticker, "timeout");
        QVERIFY(dialog && dialog->isVisible());
        QMetaObject::invokeMethod(ticker, "timeout");
        QTRY_VERIFY(!dialog);
    }

    void qrCodeClosesWhenItsWindowHides()
    {
        QWidget panel;
        panel.show();
        QPointer<AccountQrDialog> dialog = new AccountQrDialog(u"otpauth://totp/a?secret=AAAA"_s, u"a"_s, &panel);
        dialog->show();
        panel.hide();
        QTRY_VERIFY(!dialog);
    }

    void passwordIsAcceptedWhenComplete_data()
    {
        QTest::addColumn<PasswordDialog::Mode>("mode");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("enter, empty") << PasswordDialog::Mode::enter << QString() << QString() << false;
        QTest::newRow("enter, typed") << PasswordDialog::Mode::enter << u"pw"_s << QString() << true;
        QTest::newRow("enter, being checked") << PasswordDialog::Mode::enter << u"pw"_s << u"busy"_s << false;
        QTest::newRow("choose, once") << PasswordDialog::Mode::choose << u"pw"_s << QString() << false;
        QTest::newRow("choose, different") << PasswordDialog::Mode::choose << u"password"_s << u"passworD"_s << false;
        QTest::newRow("choose, short twice") << PasswordDialog::Mode::choose << u"abcdefg"_s << u"abcdefg"_s << false;
        QTest::newRow("choose, same twice")
            << PasswordDialog::Mode::choose << u"八个字的备份密码"_s << u"八个字的备份密码"_s << true;
    }
    void passwordIsAcceptedWhenComplete()
    {
        QFETCH(PasswordDialog::Mode, mode);
        QFETCH(QString, first);
        QFETCH(QString, second);
        PasswordDialog dialog(mode, u"?"_s);
        dialog.field()->setText(first);
        if (dialog.repeatField())
            dialog.repeatField()->setText(second);
        dialog.setBusy(second == u"busy");
        QFETCH(bool, acceptable);
        QCOMPARE(dialog.primaryButton()->isEnabled(), acceptable);
        QCOMPARE(dialog.field()->echoMode(), QLineEdit::Password);
        // A new backup's password says what it lacks; a password being checked says so.
        QCOMPARE(dialog.hint()->isVisibleTo(&dialog),
                 dialog.isBusy() || (mode == PasswordDialog::Mode::choose && !acceptable));
    }

    void summaryListsWhatWillHappen_data()
    {
        QTest::addColumn<int>("fresh");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("new, present and refused")
            << 1 << u"Bitwarden 导出"_s
            << u"文件格式：Bitwarden 导出\n新账户：1 个\n  · GitHub (alice)\n已存在（将跳过）：1 个\n无法导入：1 个\n  · 第 2 行：原因"_s;
        QTest::newRow("nothing new") << 0 << QString()
                                     << u"新账户：0 个\n已存在（将跳过）：1 个\n无法导入：1 个\n  · 第 2 行：原因"_s;
    }
    void summaryListsWhatWillHappen()
    {
        QFETCH(int, fresh);
        const ImportedToken token{u"alice"_s, u"GitHub"_s, u"JBSWY3DPEHPK3PXP"_s};
        QFETCH(QString, format);
        const ImportBatch batch{QList<ImportedToken>(fresh, token), {{u"第 2 行"_s, u"原因"_s}}, {token}, format};
        ImportSummaryDialog dialog(batch);
        QTEST(dialog.summaryText(), "text");
        QCOMPARE(dialog.primaryButton()->isEnabled(), fresh > 0);
    }
};

QTEST_MAIN(TestTransferDialogs)
#include "tst_transferdialogs.moc"
