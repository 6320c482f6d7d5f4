#include "app/TransferCommands.h"
#include "support/StoreFixture.h"
#include "ui/ImportSummaryDialog.h"
#include "ui/PanelMessageBox.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// The import queue: the files of one launch or one call over the bus are imported one after
// another with a summary each, and no more than ImportQueue::maxQueued wait at once.
class TestTransferCommands : public QObject
{
    Q_OBJECT

public:
    // Each summary and message is noted as it shows, then declined, so that the queue goes on.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (event->type() == QEvent::Show && dialog)
            QTimer::singleShot(0, dialog, [this, dialog] {
                if (const auto *summary = qobject_cast<ImportSummaryDialog *>(dialog))
                    m_summaries << summary->summaryText();
                else if (qobject_cast<PanelMessageBox *>(dialog))
                    m_messages << dialog->findChild<QLabel *>()->text();
                dialog->reject();
            });
        return false;
    }

private Q_SLOTS:
    void initTestCase() { qApp->installEventFilter(this); }

    void queuesAtMostTheCap_data()
    {
        QTest::addColumn<int>("importing"); // files given in a first call, still importing
        QTest::addColumn<int>("files"); // then given in one call
        QTest::addColumn<int>("leftOut");
        QTest::newRow("as many as the cap") << 0 << 20 << 0;
        QTest::newRow("more than the cap") << 0 << 23 << 3;
        QTest::newRow("the cap's worth while one imports") << 1 << 20 << 1;
    }
    void queuesAtMostTheCap()
    {
        QFETCH(int, importing);
        QFETCH(int, files);
        QFETCH(int, leftOut);
        StoreFixture fixture;
        TransferCommands commands(fixture.storeWith(0));
        QSignalSpy finished(&commands, &TransferCommands::importsFinished);
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < importing + files; ++i) {
            paths << dir.filePath(u"account%1.txt"_s.arg(i));
            QFile file(paths.last());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("otpauth://totp/account" + QByteArray::number(i)
                       + "?secret=" + StoreFixture::secret(i).toLatin1());
        }
        m_summaries.clear();
        m_messages.clear();
        commands.importFiles(paths.first(importing));
        commands.importFiles(paths.sliced(importing));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);

        const qsizetype imported = paths.size() - leftOut;
        QCOMPARE(m_summaries.size(), imported);
        for (qsizetype i = 0; i < imported; ++i)
            QVERIFY2(m_summaries[i].contains(QRegularExpression(u"\\baccount%1\\b"_s.arg(i))),
                     qPrintable(m_summaries[i]));
        QCOMPARE(m_messages.size(), leftOut > 0 ? 1 : 0);
        if (leftOut > 0)
            QCOMPARE(m_messages.first().split(u'\n').sliced(1), paths.sliced(imported));
    }

private:
    QStringList m_summaries;
    QStringList m_messages;
};

QTEST_MAIN(TestTransferCommands)
#include "tst_transfercommands.moc"
