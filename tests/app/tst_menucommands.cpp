#include "app/FloatingWindowController.h"
#include "app/MenuCommands.h"
#include "support/StoreFixture.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestMenuCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_menu.reset();
        m_fx.reset();
        m_fx.restart();
        m_controller = std::make_unique<FloatingWindowController>(m_fx.settings.settings());
        m_menu = std::make_unique<MenuCommands>(*m_fx.store, *m_controller);
    }

    void checkMarksFollowSettings_data()
    {
        QTest::addColumn<qint64>("delay");
        QTest::addColumn<double>("opacity");
        QTest::addColumn<QStringList>("checked");
        QTest::newRow("defaults") << qint64(60) << 0.82 << QStringList{u"60 秒"_s, u"清晰"_s};
        QTest::newRow("never, within 0.01") << qint64(0) << 0.815 << QStringList{u"不自动清除"_s, u"清晰"_s};
        QTest::newRow("unlisted values mark nothing") << qint64(45) << 0.8 << QStringList{};
        QTest::newRow("30 and opaque") << qint64(30) << 1.0 << QStringList{u"30 秒"_s, u"不透明"_s};
        QTest::newRow("30 and light") << qint64(30) << 0.6 << QStringList{u"30 秒"_s, u"轻透"_s};
    }

    void checkMarksFollowSettings()
    {
        QFETCH(qint64, delay);
        QFETCH(double, opacity);
        m_fx.store->preferences().setClipboardClearDelay(delay);
        m_fx.store->preferences().setPanelOpacity(opacity);
        m_menu->rebuild();
        QTEST(checkedItems(), "checked");
    }

    void choosingStoresAtOnce()
    {
        item(u"30 秒"_s)->trigger();
        QCOMPARE(m_fx.store->preferences().clipboardClearDelay(), 30);
        item(u"轻透"_s)->trigger();
        QCOMPARE(m_fx.store->preferences().panelOpacity(), 0.6);
        item(u"隐藏验证码"_s)->trigger();
        QVERIFY(m_fx.store->preferences().hideCodes());
        const auto saved = m_fx.settings.reopen();
        QCOMPARE(saved->value(u"totp.clipboardClearDelay"_s).toLongLong(), 30);
        QCOMPARE(saved->value(u"totp.panelOpacity"_s).toDouble(), 0.6);
        QCOMPARE(saved->value(u"totp.hideCodes"_s).toBool(), true);
        m_menu->rebuild();
        QVERIFY(item(u"隐藏验证码"_s)->isChecked());
    }

    void itemsAndKeys()
    {
        QStringList top;
        for (QAction *action : m_menu->menu()->actions())
            top << (action->isSeparator() ? u"-"_s : action->text());
        QCOMPARE(top, QStringList({u"显示浮窗"_s, u"复制后清除剪贴板"_s, u"窗口透明度"_s, u"隐藏验证码"_s, u"-"_s,
                                   u"导出备份…"_s, u"导入…"_s, u"导入图标包…"_s, u"自动备份…"_s, u"从备份恢复…"_s,
                                   u"-"_s, u"关于岚签"_s, u"-"_s, u"退出岚签"_s}));
        QCOMPARE(item(u"显示浮窗"_s)->shortcut(), QKeySequence(u"Ctrl+T"_s));
        QCOMPARE(item(u"退出岚签"_s)->shortcut(), QKeySequence(u"Ctrl+Q"_s));
        QVERIFY(item(u"岚签 0.6.5"_s) && !item(u"岚签 0.6.5"_s)->isEnabled());
        // The keyed commands outlive a rebuild, so the panel keeps their keys.
        QAction *quitItem = item(u"退出岚签"_s);
        m_menu->rebuild();
        QSignalSpy quit(m_menu.get(), &MenuCommands::quitRequested);
        quitItem->trigger();
        QCOMPARE(quit.count(), 1);
    }

private:
    QAction *item(const QString &text) const
    {
        const auto actions = m_menu->menu()->findChildren<QAction *>() + m_menu->keyedActions();
        const auto it = std::find_if(actions.cbegin(), actions.cend(), [&](QAction *a) { return a->text() == text; });
        return it == actions.cend() ? nullptr : *it;
    }
    QStringList checkedItems() const
    {
        QStringList checked;
        for (QAction *action : m_menu->menu()->findChildren<QAction *>())
            if (action->isChecked())
                checked << action->text();
        return checked;
    }

    StoreFixture m_fx;
    std::unique_ptr<FloatingWindowController> m_controller;
    std::unique_ptr<MenuCommands> m_menu;
};

QTEST_MAIN(TestMenuCommands)
#include "tst_menucommands.moc"
