#include "engine/LabelText.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestLabelText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void invisibleCharactersGo_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cleaned");
        QTest::newRow("RLM and ALM") << u"pay\u200Fpal\u061C"_s << u"paypal"_s;
        QTest::newRow("LRM, isolates, override") << u"\u200E\u2067a\u202Eb\u2069"_s << u"ab"_s;
        QTest::newRow("zero-width space, non-joiner, word joiner") << u"a\u200Bb\u200Cc\u2060d"_s << u"abcd"_s;
        QTest::newRow("joiner between letters") << u"a\u200Db"_s << u"ab"_s;
        QTest::newRow("byte order mark, soft hyphen") << u"\uFEFFGit\u00ADHub"_s << u"GitHub"_s;
        QTest::newRow("tags after a letter") << u"a\U000E0041\U000E007F"_s << u"a"_s;
        QTest::newRow("controls and separators") << u"a\u0000\t\u0085\u2028b\u007F"_s << u"ab"_s;
        QTest::newRow("emoji family keeps its joiners")
            << u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s << u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s;
        QTest::newRow("selector and skin tone before a joiner")
            << u"\u2764\uFE0F\u200D\U0001F525 \U0001F44D\U0001F3FD\u200D\u2642"_s
            << u"\u2764\uFE0F\u200D\U0001F525 \U0001F44D\U0001F3FD\u200D\u2642"_s;
        QTest::newRow("joiner after an emoji, before a letter") << u"\U0001F600\u200Da"_s << u"\U0001F600a"_s;
        QTest::newRow("flag of Scotland keeps its tags")
            << u"\U0001F3F4\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F"_s
            << u"\U0001F3F4\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F"_s;
        QTest::newRow("marks, CJK and spaces stay") << u"Café 岚签 e\u0301"_s << u"Café 岚签 e\u0301"_s;
    }
    void invisibleCharactersGo()
    {
        QFETCH(QString, text);
        QTEST(LabelText::cleaned(text), "cleaned");
    }
};

QTEST_APPLESS_MAIN(TestLabelText)
#include "tst_labeltext.moc"
