#include "store/ImportRun.h"
#include "support/StoreFixture.h"
#include "ui/AccentButton.h"
#include "ui/AccountQrDialog.h"
#include "ui/ImportRunner.h"
#include "ui/ImportSummaryDialog.h"
#include "ui/PanelMessageBox.h"
#include "ui/PasswordDialog.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

class TestTransferDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // 停止 clicked with the mouse stays disabled while the batch under way ends, and the dialog
    // is gone by the time the import reports.
    void stoppedImportClosesItsProgress()
    {
        StoreFixture fx;
        TokenStore &store = fx.storeWith(0);
        QList<ImportedToken> tokens;
        for (int i = 1; i <= 3 * ImportRun::batchSize; ++i)
            tokens.append({QString::number(i), {}, StoreFixture::secret(26 * i), 30, 6});
        QWidget parent;
        parent.show();
        QPointer<QProgressDialog> progress;
        std::optional<ImportSummary> summary;
        bool shownAtReport = true;
        ImportRunner::start(store, tokens, parent, &parent, [&](const ImportSummary &reported) {
            shownAtReport = progress && progress->isVisible();
            summary = reported;
        });
        progress = parent.findChild<QProgressDialog *>();
        QVERIFY(progress && progress->isVisible());
        QCOMPARE(progress->windowFlags(), PanelMessageBox(u"好"_s).windowFlags()); // one frame for every dialog
        QPushButton *stop = progress->findChild<QPushButton *>();
        auto *run = parent.findChild<ImportRun *>();
        bool fixedAndFits = false;
        connect(run, &ImportRun::progressed, stop, [&, stop] {
            QTest::mouseClick(stop, Qt::LeftButton);
            // As the sheets: no size for the window manager to change, yet room for the longer line.
            const QSize size = progress->size();
            fixedAndFits =
                progress->minimumSize() == progress->maximumSize() && size.expandedTo(progress->sizeHint()) == size;
        });
        bool stopEnabled = true;
        QString label;
        connect(run, &ImportRun::finished, &parent, [&] {
            stopEnabled = stop->isEnabled();
            label = progress->labelText();
        });
        QTRY_VERIFY(summary);
        QVERIFY(!shownAtReport && !stopEnabled && fixedAndFits);
        QCOMPARE(label, u"正在停止，已开始的一批账户添加完就停下…"_s);
        QCOMPARE(summary->added.size(), ImportRun::batchSize);
    }

    // It holds the secret: it closes itself after a minute, and as soon as its window hides.
    void qrCodeCloses_data()
    {
        QTest::addColumn<bool>("hide");
        QTest::newRow("after a minute") << false;
        QTest::newRow("with its window") << true;
    }
    void qrCodeCloses()
    {
        QFETCH(bool, hide);
        QWidget panel;
        panel.show();
        QPointer<AccountQrDialog> dialog = new AccountQrDialog(u"otpauth://totp/a?secret=AAAA"_s, u"a"_s, &panel);
        dialog->show();
        auto *ticker = dialog->findChild<QTimer *>();
        for (int second = 1; !hide && second < AccountQrDialog::visibleSeconds; ++second)
            QMetaObject::invokeMethod(ticker, "timeout");
        QVERIFY(dialog && dialog->isVisible());
        if (hide)
            panel.hide(); // long before the real ticker's minute is up
        else
            QMetaObject::invokeMethod(ticker, "timeout");
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
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("text");
        const QString nothingNew = u"新账户：0 个\n已存在（将跳过）：1 个\n无法导入：1 个\n  · "_s;
        QTest::newRow("new, present and refused")
            << 1 << u"Bitwarden 导出"_s << u"第 2 行"_s
            << u"文件格式：Bitwarden 导出\n新账户：1 个\n  · GitHub（alice）\n已存在（将跳过）：1 个\n无法导入：1 个\n  · 第 2 行：原因"_s;
        QTest::newRow("nothing new") << 0 << QString() << u"第 2 行"_s << nothingNew + u"第 2 行：原因"_s;
        // A hostile file's name of thousands of characters would take seconds to lay out.
        QTest::newRow("a name too long to read")
            << 0 << QString() << QString(3000, u'x') << nothingNew + QString(199, u'x') + u'…';
    }
    void summaryListsWhatWillHappen()
    {
        QFETCH(int, fresh);
        const ImportedToken token{u"alice"_s, u"GitHub"_s, u"JBSWY3DPEHPK3PXP"_s};
        QFETCH(QString, format);
        QFETCH(QString, refused);
        const ImportBatch batch{QList<ImportedToken>(fresh, token), {{refused, u"原因"_s}}, {token}, format};
        ImportSummaryDialog dialog(batch);
        QTEST(dialog.summaryText(), "text");
        QCOMPARE(dialog.primaryButton()->isEnabled(), fresh > 0);
    }
};

QTEST_MAIN(TestTransferDialogs)
#include "tst_transferdialogs.moc"
