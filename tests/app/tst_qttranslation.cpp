#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using Language = QtTranslation::Language;

class TestQtTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void languageFollowsUiLanguages_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<Language>("language");
        QTest::newRow("mainland Chinese") << QStringList{u"zh-CN"_s, u"zh-Hans-CN"_s, u"zh"_s} << Language::chinese;
        QTest::newRow("traditional Chinese") << QStringList{u"zh-TW"_s} << Language::chinese;
        QTest::newRow("underscore form") << QStringList{u"zh_SG"_s} << Language::chinese;
        QTest::newRow("American English") << QStringList{u"en-US"_s} << Language::english;
        QTest::newRow("German") << QStringList{u"de-DE"_s, u"de"_s} << Language::english;
        QTest::newRow("German, then Chinese") << QStringList{u"de-DE"_s, u"zh-CN"_s} << Language::chinese;
        QTest::newRow("English before Chinese") << QStringList{u"en-GB"_s, u"zh-CN"_s} << Language::english;
        QTest::newRow("C locale") << QStringList{u"C"_s} << Language::english;
        QTest::newRow("nothing") << QStringList{} << Language::english;
        QTest::newRow("zh is not a prefix of others") << QStringList{u"zu-ZA"_s, u"zha"_s} << Language::english;
    }

    void languageFollowsUiLanguages()
    {
        QFETCH(QStringList, uiLanguages);
        QTEST(QtTranslation::languageFor(uiLanguages), "language");
    }

    // Chinese is Qt's catalogue over the source texts, English Corvane's catalogue over it (catalogues
    // stay installed for the process); a missing catalogue is reported.
    void catalogues()
    {
        const auto tr = [](const char *context, const char *source, int n = -1) {
            return QCoreApplication::translate(context, source, nullptr, n);
        };
        const QStringList folders{QStringLiteral(CORVANE_CATALOGUE_DIR)};
        QVERIFY(QtTranslation::install(*QCoreApplication::instance(), Language::chinese, folders));
        QCOMPARE(tr("QPlatformTheme", "Cancel"), u"取消"_s);
        // A text field's menu words undo as the undo bar does, and OK as the dialogs do.
        QCOMPARE(tr("QLineEdit", "&Undo"), u"撤销(&U)"_s);
        QCOMPARE(tr("QPlatformTheme", "OK"), u"确定"_s);
        QCOMPARE(tr("MenuCommands", "%n 秒", 30), u"30 秒"_s);
        QCOMPARE(QLocale().language(), QLocale::Chinese);
        QVERIFY(!QtTranslation::install(*QCoreApplication::instance(), Language::english, {u"/nonexistent"_s}));
        QVERIFY(QtTranslation::install(*QCoreApplication::instance(), Language::english, folders));
        QCOMPARE(tr("MenuCommands", "显示浮窗"), u"Show panel"_s);
        QCOMPARE(tr("MenuCommands", "%n 秒", 1), u"1 second"_s);
        QCOMPARE(tr("MenuCommands", "%n 秒", 30), u"30 seconds"_s);
    }
};

QTEST_GUILESS_MAIN(TestQtTranslation)
#include "tst_qttranslation.moc"
