#include "app/AppDelegate.h"
#include "app/FloatingWindowController.h"
#include "app/InteractiveFloatingPanel.h"
#include "app/KeyHandler.h"
#include "app/X11KeyGrab.h"
#include "support/StoreFixture.h"

#include <QtTest>
#include <QtWidgets>

#include <xcb/xcb.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A widget that remembers the keys that reached it.
class KeyProbe : public QWidget
{
public:
    using QWidget::QWidget;
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override { keys << event->key(); }
};

} // namespace

class TestKeyHandler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_panel = std::make_unique<KeyProbe>();
        m_field = new KeyProbe(m_panel.get());
        m_controller = std::make_unique<FloatingWindowController>(m_settings.settings());
        m_controller->attach(m_panel.get());
        m_panel->show();
        m_handler = std::make_unique<KeyHandler>(m_panel.get(), *m_controller);
        qApp->installEventFilter(m_handler.get());
    }

    void cleanup()
    {
        m_handler.reset();
        m_panel.reset();
        m_controller.reset();
    }

    void panelKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("copied"); // the row index copied, or -1
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<bool>("hidden");
        const Qt::KeyboardModifiers none, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        QTest::newRow("Ctrl+3") << int(Qt::Key_3) << ctrl << 2 << false << false;
        QTest::newRow("Ctrl+Alt+2") << int(Qt::Key_2) << (ctrl | Qt::AltModifier) << 1 << false << false;
        QTest::newRow("Ctrl+Shift+V") << int(Qt::Key_V) << (ctrl | shift) << -1 << true << false;
        QTest::newRow("Shift+Escape") << int(Qt::Key_Escape) << shift << -1 << false << true;
        // Passed on:
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << -1 << false << false;
        QTest::newRow("Ctrl+Shift+1") << int(Qt::Key_Exclam) << (ctrl | shift) << -1 << false << false;
        QTest::newRow("Ctrl+0") << int(Qt::Key_0) << ctrl << -1 << false << false;
        QTest::newRow("Ctrl+4") << int(Qt::Key_4) << ctrl << -1 << false << false;
        QTest::newRow("plain 1") << int(Qt::Key_1) << none << -1 << false << false;
        QTest::newRow("Shift+V") << int(Qt::Key_V) << shift << -1 << false << false;
    }

    void panelKeys()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, copied);
        QFETCH(bool, pasted);
        QFETCH(bool, hidden);
        QSignalSpy copies(m_handler.get(), &KeyHandler::copyTokenAtIndex);
        QSignalSpy pastes(m_handler.get(), &KeyHandler::pasteSecretAndAdd);
        const bool passedOn = press(m_field, key, modifiers);
        QCOMPARE(copies.isEmpty() ? -1 : copies.first().first().toInt(), copied);
        QCOMPARE(pastes.count(), int(pasted));
        QCOMPARE(m_panel->isHidden(), hidden);
        QCOMPARE(passedOn, copied < 0 && !pasted && !hidden);
    }

    void otherWindowsAndOpenDialogsKeepEveryKey()
    {
        KeyProbe other;
        other.show();
        QSignalSpy copies(m_handler.get(), &KeyHandler::copyTokenAtIndex);
        QVERIFY(press(&other, Qt::Key_1, Qt::ControlModifier) && press(&other, Qt::Key_Escape, {}));
        QDialog sheet(m_panel.get());
        sheet.setWindowModality(Qt::WindowModal);
        sheet.open();
        QVERIFY(press(m_field, Qt::Key_1, Qt::ControlModifier) && press(m_field, Qt::Key_Escape, {}));
        QVERIFY(copies.isEmpty() && m_panel->isVisible());
    }

    void escapeClearsTheFilterFirst()
    {
        bool filtered = true;
        m_handler->setEscapeHandler([&filtered] { return std::exchange(filtered, false); });
        QVERIFY(!press(m_field, Qt::Key_Escape, {}));
        QVERIFY(!filtered && m_panel->isVisible());
        QVERIFY(!press(m_field, Qt::Key_Escape, {}));
        QVERIFY(m_panel->isHidden());
    }

    void copyKeysCountShownRows_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("copied"); // the issuer whose code is copied, or none
        QTest::newRow("no filter, Ctrl+2") << QString() << int(Qt::Key_2) << u"GitHub"_s;
        QTest::newRow("git, Ctrl+1") << u"git"_s << int(Qt::Key_1) << u"GitHub"_s;
        QTest::newRow("git, Ctrl+2") << u"git"_s << int(Qt::Key_2) << u"Gitlab"_s;
        QTest::newRow("hub, Ctrl+2") << u"hub"_s << int(Qt::Key_2) << QString();
    }

    // Ctrl+1..3 copy the first rows on screen, typed through the application as a person would.
    void copyKeysCountShownRows()
    {
        QFETCH(QString, filter);
        QFETCH(int, key);
        QFETCH(QString, copied);
        StoreFixture fx;
        fx.reset();
        AppDelegate delegate(fx.keychain, fx.settings.settings(), fx.clock.function());
        const QStringList issuers{u"Apple"_s, u"GitHub"_s, u"Gitlab"_s};
        for (int i = 0; i < issuers.size(); ++i)
            QVERIFY(added(delegate.store(), {u"me"_s, issuers[i], StoreFixture::secret(26 * (i + 1)), 30, 6}));
        delegate.applicationDidFinishLaunching();
        QWidget *panel = delegate.panel();
        panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(panel));
        QApplication::clipboard()->clear();
        QTest::keyClicks(panel->focusWidget(), filter);
        QTest::keyClick(panel->focusWidget(), Qt::Key(key), Qt::ControlModifier);
        const auto accounts = delegate.store().accounts();
        const auto it = std::ranges::find(accounts, copied, &TokenAccount::issuer);
        QCOMPARE(QApplication::clipboard()->text(),
                 it == accounts.end() ? QString() : delegate.store().codes()[it->id]);
        delegate.applicationWillTerminate();
    }

    // The global key's presses, as the X server reports them on the root window.
    void globalKeyActsOncePerPress_data()
    {
        QTest::addColumn<bool>("released"); // the release reached us
        QTest::addColumn<bool>("held"); // the server says the key is down
        QTest::addColumn<int>("presses");
        QTest::newRow("repeat while held") << false << true << 1;
        QTest::newRow("released") << true << true << 2;
        QTest::newRow("release lost, key up") << false << false << 2;
    }
    void globalKeyActsOncePerPress()
    {
        QFETCH(bool, released);
        QFETCH(bool, held);
        QFETCH(int, presses);
        constexpr std::uint32_t root = 7;
        constexpr std::uint8_t keycode = 45;
        constexpr std::uint16_t modifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
        X11KeyGrab grab(root, keycode, modifiers, [&held](std::uint8_t code) { return held && code == keycode; });
        QSignalSpy pressed(&grab, &X11KeyGrab::pressed);
        const auto send = [&grab](std::uint8_t type, std::uint16_t state) {
            xcb_key_press_event_t event{};
            event.response_type = type;
            event.detail = keycode;
            event.event = root;
            event.state = state | XCB_MOD_MASK_LOCK; // Caps Lock does not matter
            return grab.nativeEventFilter("xcb_generic_event_t", &event, nullptr);
        };
        QVERIFY(send(XCB_KEY_PRESS, modifiers));
        if (released) // Ctrl already up
            QVERIFY(send(XCB_KEY_RELEASE, 0));
        QTest::qWait(X11KeyGrab::heldCheckMs * 2);
        QVERIFY(send(XCB_KEY_PRESS, modifiers));
        QVERIFY(!send(XCB_KEY_PRESS, XCB_MOD_MASK_CONTROL)); // not the combination
        QCOMPARE(pressed.count(), presses);
    }

private:
    // Sends a key press to `target`; true when it got through to the widget.
    bool press(KeyProbe *target, int key, Qt::KeyboardModifiers modifiers)
    {
        target->keys.clear();
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &event);
        return target->keys == QList<int>{key};
    }

    TempSettings m_settings;
    std::unique_ptr<FloatingWindowController> m_controller;
    std::unique_ptr<KeyProbe> m_panel;
    KeyProbe *m_field = nullptr;
    std::unique_ptr<KeyHandler> m_handler;
};

QTEST_MAIN(TestKeyHandler)
#include "tst_keyhandler.moc"
