#include "store/ImportRun.h"
#include "support/PortalBus.h"
#include "support/QrImage.h"
#include "support/StoreFixture.h"
#include "ui/AccentButton.h"
#include "ui/AddFlows.h"
#include "ui/AddTokenView.h"
#include "ui/CircleButton.h"
#include "ui/CodeClipboard.h"
#include "ui/CodeSettingsFields.h"
#include "ui/ContentView.h"
#include "ui/EditTokenView.h"
#include "ui/KeychainStatusView.h"
#include "ui/PanelHeader.h"
#include "ui/PanelMessageBox.h"
#include "ui/ReturnKeyFilter.h"
#include "ui/SheetHeader.h"
#include "ui/SheetPresenter.h"
#include "ui/TokenListView.h"
#include "ui/TokenRow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

const QString otherSecret = u"JBSWY3DPEHPK3PXP"_s;
const QString totpLink = u"otpauth://totp/GitHub:alice@example.com?secret="_s + rfcSecret;

// The desktop portal's Screenshot: the picture is a file of its own making.
class FakeScreenshotPortal : public PortalStandIn
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    QString picture;

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options)
    {
        return respond(options, 0, {{u"uri"_s, QUrl::fromLocalFile(picture).toString()}});
    }
};

class TestSheets : public QObject
{
    Q_OBJECT
    StoreFixture m_fx;
    FakeScreenshotPortal m_portal;
    FakeClock &m_clock = m_fx.clock;
    std::unique_ptr<TokenStore> &m_store = m_fx.store;

    void addAccount(const QString &name, const QString &issuer, const QString &secret)
    {
        QVERIFY(added(*m_store, {name, issuer, secret, 30, 6}));
    }
    static QWidget *focused() { return QApplication::focusWidget(); }

private Q_SLOTS:
    void init()
    {
        m_fx.reset();
        m_fx.restart();
    }

    void linkFillsTheFieldsOnlyWhenItParsesAndKeepsItsSettings()
    {
        AddTokenView sheet(*m_store);
        sheet.show();
        QCOMPARE(sheet.settingsLine()->text(), u"SHA1 · 6 位 · 30 秒"_s);
        QTest::keyClicks(sheet.linkField(), u"otpauth://hotp/a?secret=A&counter=9"_s);
        QVERIFY(sheet.errorLine()->isHidden());
        QCOMPARE(sheet.settingsLine()->text(), u"HOTP · SHA1 · 6 位 · 计数器 9"_s);
        QCOMPARE(sheet.codeSettings()->counterField()->text(), u"9"_s);
        sheet.linkField()->clear();
        QTest::keyClicks(sheet.linkField(), totpLink + u"&algorithm=SHA256&period=60&digits=8"_s);
        QVERIFY(sheet.errorLine()->isHidden()); // "SHA25" was refused on the way
        QCOMPARE(sheet.settingsLine()->text(), u"SHA256 · 8 位 · 60 秒"_s);
        const auto fields = [&] {
            return QStringList{sheet.nameField()->text(), sheet.issuerField()->text(), sheet.secretField()->text()};
        };
        QCOMPARE(fields(), QStringList({u"alice@example.com"_s, u"GitHub"_s, rfcSecret}));
        sheet.nameField()->setText(u"typed by hand"_s);
        sheet.linkField()->home(false);
        QTest::keyClick(sheet.linkField(), Qt::Key_X); // "xotpauth://" is no TOTP link
        QCOMPARE(fields(), QStringList({u"typed by hand"_s, u"GitHub"_s, rfcSecret}));
        QTest::keyClick(sheet.linkField(), Qt::Key_Backspace);
        QCOMPARE(sheet.nameField()->text(), u"alice@example.com"_s);
        QTest::mouseClick(sheet.primaryButton(), Qt::LeftButton);
        QVERIFY(!sheet.isVisible() && m_store->accounts().size() == 1);
        const TokenAccount &account = m_store->accounts().first();
        QCOMPARE((QList<qint64>{account.otp.period, account.otp.digits}), (QList<qint64>{60, 8}));
        QCOMPARE(account.otp.algorithm, HashAlgorithm::Sha256);
    }

    void addNeedsAValidSecret()
    {
        AddTokenView sheet(*m_store);
        sheet.show();
        QTest::keyClicks(sheet.nameField(), u"  alice  "_s);
        QTest::keyClicks(sheet.issuerField(), u" Acme "_s);
        for (const QString &secret : {u"A"_s, QString(), u"A"_s, u" \t\u3000 "_s}) {
            sheet.secretField()->setText(secret);
            QCOMPARE(sheet.primaryButton()->isEnabled(), secret == u"A"_s);
        }
        QTest::keyClick(sheet.secretField(), Qt::Key_Return); // inert while the secret is blank
        QTest::keyClick(sheet.nameField(), Qt::Key_Enter);
        QVERIFY(sheet.isVisible() && !sheet.errorMessage());

        sheet.secretField()->setText(u"not base32!"_s);
        QTest::keyClick(sheet.secretField(), Qt::Key_Return);
        QVERIFY(sheet.isVisible() && sheet.errorLine()->isVisible() && m_store->accounts().isEmpty());
        QCOMPARE(sheet.errorLine()->text(), u"密钥格式不正确，请使用 Base32 密钥。"_s);
        QCOMPARE(sheet.nameField()->text(), u"  alice  "_s);
        QCOMPARE(sheet.secretField()->text(), u"not base32!"_s);

        m_fx.keychain.saveFailure = KeychainError(u"secret-error"_s, 2, u"钥匙串已锁定"_s);
        sheet.secretField()->setText(u"  gezd gnbv gy3t qojq gezd gnbv gy3t qojq  "_s);
        QTest::mouseClick(sheet.primaryButton(), Qt::LeftButton);
        QCOMPARE(sheet.errorMessage(), u"钥匙串已锁定"_s); // the keychain's own message
        QVERIFY(sheet.isVisible() && m_store->accounts().isEmpty());
        m_fx.keychain.saveFailure.reset();
        CodeSettingsFields *settings = sheet.codeSettings(); // offered collapsed
        QVERIFY(!settings->algorithmBox()->isVisible());
        settings->toggle()->click();
        QVERIFY(settings->algorithmBox()->isVisible());
        settings->algorithmBox()->setCurrentIndex(2);
        settings->digitsBox()->setValue(7);
        QCOMPARE(sheet.settingsLine()->text(), u"SHA512 · 7 位 · 30 秒"_s);
        m_fx.keychain.holdSaves = true; // 添加 waits for the keychain
        QTest::mouseClick(sheet.primaryButton(), Qt::LeftButton);
        QVERIFY(sheet.isVisible() && !sheet.primaryButton()->isEnabled() && m_store->accounts().isEmpty());
        m_fx.keychain.answerHeld();
        QVERIFY(!sheet.isVisible() && m_store->accounts().size() == 1);
        const TokenAccount &added = m_store->accounts().first();
        QCOMPARE(QStringList({added.name, added.issuer}), QStringList({u"alice"_s, u"Acme"_s}));
        QCOMPARE(m_fx.keychain.items.value(added.id), rfcSecret);
        QCOMPARE((QList<qint64>{added.otp.period, added.otp.digits}), (QList<qint64>{30, 7}));
        QCOMPARE(added.otp.algorithm, HashAlgorithm::Sha512);
    }

    void migrationLinkAddsItsAccounts_data()
    {
        // Generated exports of alice (the RFC secret) and bob, both of Acme, and carol (HOTP).
        const QString aliceAndBob =
            u"Ci4KFDEyMzQ1Njc4OTAxMjM0NTY3ODkwEgpBY21lOmFsaWNlGgRBY21lIAEoATACCh0KCkhlbGxvId6tvu8SA2"
            "JvYhoEQWNtZSABKAEwA"_s;
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("aliceListed");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("notice"); // with the error, empty when the sheet closed
        QTest::addColumn<QString>("error");
        QTest::newRow("two accounts") << aliceAndBob + u"hABGAEgACgH"_s << false << QStringList{u"alice"_s, u"bob"_s}
                                      << QString() << QString();
        QTest::newRow("alice already listed")
            << aliceAndBob + u"hABGAEgACgH"_s << true << QStringList{u"old"_s, u"bob"_s}
            << u"已添加 1 个账户，1 个已存在，已跳过。"_s << QString();
        // carol counts with bob's secret: another account.
        QTest::newRow("HOTP beside TOTP")
            << aliceAndBob + u"gofCgpIZWxsbyHerb7vEgVjYXJvbBoEQWNtZSABKAEwARABGAEgACgH"_s << false
            << QStringList{u"alice"_s, u"bob"_s, u"carol"_s} << QString() << QString();
        QTest::newRow("first of two codes")
            << u"Ch0KCkhlbGxvId6tvu8SA2JvYhoEQWNtZSABKAEwAhABGAIgACgH"_s << false << QStringList{u"bob"_s}
            << u"已添加 1 个账户。这是第 1/2 张二维码，请继续读取下一张。"_s << QString();
        // 1,000 copies of alice make a link near 64 KiB, longer than a line field takes by default.
        QTest::newRow("64 KiB export") << aliceAndBob.first(64).repeated(1000) << false << QStringList{u"alice"_s}
                                       << u"已添加 1 个账户，999 个已存在，已跳过。"_s << QString();
        QTest::newRow("damaged") << u"Ci4KFDEy"_s << false << QStringList() << QString()
                                 << u"迁移链接不完整或已损坏，没有导入任何账户。"_s;
    }

    void migrationLinkAddsItsAccounts()
    {
        QFETCH(QString, data);
        QFETCH(bool, aliceListed);
        QFETCH(QStringList, names);
        QFETCH(QString, notice);
        QFETCH(QString, error);
        if (aliceListed)
            addAccount(u"old"_s, {}, rfcSecret);
        AddTokenView sheet(*m_store);
        sheet.show();
        sheet.linkField()->setText(u"otpauth-migration://offline?data="_s + data);
        QCOMPARE(sheet.batchList()->isVisible(), !names.isEmpty());
        QCOMPARE(sheet.primaryButton()->isEnabled(), !names.isEmpty());
        QTest::mouseClick(sheet.primaryButton(), Qt::LeftButton);
        QTRY_VERIFY(sheet.findChildren<ImportRun *>().isEmpty());
        QCOMPARE(m_fx.names(), names);
        QCOMPARE(sheet.isVisible(), !(notice + error).isEmpty());
        QCOMPARE(sheet.noticeLine()->isVisible() ? sheet.noticeLine()->text() : QString(), notice);
        QCOMPARE(sheet.errorMessage().value_or(QString()), error);
    }

    void lockedAddIsOfferedAgainAfterUnlock_data()
    {
        QTest::addColumn<bool>("inSheet");
        QTest::newRow("add sheet") << true;
        QTest::newRow("panel's status line after a paste-add") << false;
    }
    // What the person entered stays, and the add runs once the keyring opens.
    void lockedAddIsOfferedAgainAfterUnlock()
    {
        QFETCH(bool, inSheet);
        CodeClipboard clipboard(QApplication::clipboard());
        ContentView panel(*m_store, clipboard, m_clock.function());
        AddTokenView sheet(*m_store);
        sheet.show();
        m_fx.keychain.state = KeychainStore::Status::Locked;
        m_fx.keychain.saveFailure = KeychainError(u"test"_s, 1, u"locked"_s);
        sheet.nameField()->setText(u"alice"_s);
        sheet.secretField()->setText(rfcSecret);
        if (inSheet)
            sheet.primaryButton()->click();
        else
            panel.addFlows().addQuickSecret(rfcSecret);
        QCOMPARE(inSheet ? sheet.errorMessage().value_or(QString()) : panel.keychainStatus()->text(),
                 u"钥匙串已锁定，账户没有添加。解锁钥匙串后即可再次添加。"_s);
        QPushButton *again = inSheet ? sheet.primaryButton() : panel.keychainStatus()->actionButton();
        QCOMPARE(again->text(), u"解锁并添加"_s);
        QCOMPARE(sheet.secretField()->text(), rfcSecret);
        m_fx.keychain.state = KeychainStore::Status::Available; // the person will type the password
        m_fx.keychain.saveFailure.reset();
        again->click();
        QCOMPARE(m_fx.keychain.unlockCalls, 1);
        QCOMPARE(m_fx.names(), QStringList{inSheet ? u"alice"_s : u"验证码"_s});
        QCOMPARE(sheet.isVisible(), !inSheet);
    }

    void screenButtonReadsAShownCode()
    {
        qputenv("XDG_SESSION_TYPE", "x11");
        QLabel code;
        code.setPixmap(QPixmap::fromImage(qrImage(totpLink, 4)));
        code.show();
        QVERIFY(QTest::qWaitForWindowExposed(&code));
        AddTokenView sheet(*m_store);
        sheet.screenButton()->click(); // the sheet itself stays hidden, off the code
        QCOMPARE(sheet.nameField()->text(), u"alice@example.com"_s);
        // A Wayland session's X client sees only its own windows: the portal takes the
        // picture, which is deleted once read.
        qputenv("XDG_SESSION_TYPE", "wayland");
        servePortal(m_portal);
        QTemporaryDir dir;
        m_portal.picture = dir.filePath(u"screen.png"_s);
        QVERIFY(qrImage(u"otpauth://totp/bob?secret="_s + otherSecret, 4).save(m_portal.picture));
        sheet.screenButton()->click();
        QTRY_COMPARE(sheet.nameField()->text(), u"bob"_s);
        QVERIFY(!QFile::exists(m_portal.picture));
    }

    void renameSaves_data()
    {
        QTest::addColumn<QStringList>("typed"); // name, issuer
        QTest::addColumn<bool>("byReturn");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<bool>("deleted"); // while the sheet was open, undone afterwards
        using L = QStringList;
        QTest::newRow("blank name: 验证码") << L{u"   "_s, u""_s} << true << L{u"验证码"_s, u""_s} << false;
        QTest::newRow("trimmed, clicked") << L{u" Work "_s, u" Corp "_s} << false << L{u"Work"_s, u"Corp"_s} << false;
        QTest::newRow("bidi and controls dropped")
            << L{u"\u202EWork\u2069"_s, u"\tCo\u0000rp\u2028"_s} << false << L{u"Work"_s, u"Corp"_s} << false;
        QTest::newRow("deleted account unchanged") << L{u"Work"_s, u"Corp"_s} << true << L{u"old"_s, u"Old"_s} << true;
    }
    void renameSaves()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, byReturn);
        QFETCH(bool, deleted);
        QVERIFY(added(*m_store, {u"old"_s, u"Old"_s, rfcSecret, 60, 8, HashAlgorithm::Sha512}));
        EditTokenView sheet(*m_store, m_store->accounts().first());
        sheet.show();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        if (deleted)
            m_store->requestDelete(m_store->accounts().first());
        QCOMPARE(focused(), sheet.nameField());
        QTest::keyClick(focused(), Qt::Key_Backspace); // the name starts selected
        sheet.nameField()->insert(typed[0]);
        sheet.issuerField()->setText(typed[1]);
        if (byReturn) { // "取消" focused by Tab still leaves Return to the primary button
            sheet.cancelButton()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(focused(), Qt::Key_Return);
        } else {
            QTest::mouseClick(sheet.primaryButton(), Qt::LeftButton);
        }
        QVERIFY(!sheet.isVisible());
        if (deleted) {
            QVERIFY(m_store->accounts().isEmpty());
            m_store->undoDelete();
        }
        const TokenAccount &account = m_store->accounts().first();
        QTEST(QStringList({account.name, account.issuer}), "saved");
        QCOMPARE(m_fx.keychain.items.value(account.id), rfcSecret);
        QCOMPARE((QList<qint64>{account.otp.period, account.otp.digits}), (QList<qint64>{60, 8}));
        QCOMPARE(account.otp.algorithm, HashAlgorithm::Sha512);
    }

    // The add sheet's type choice and counter, and the rename sheet's correction of it; a
    // time-based account's rename sheet has no counter.
    void counterIsChosenAndCorrected()
    {
        AddTokenView add(*m_store);
        add.show();
        add.secretField()->setText(rfcSecret);
        CodeSettingsFields *settings = add.codeSettings();
        settings->toggle()->click();
        QVERIFY(!settings->counterField()->isEnabled());
        settings->kindBox()->setCurrentIndex(1);
        QVERIFY(settings->counterField()->isEnabled() && !settings->periodBox()->isEnabled());
        QTest::keyClicks(settings->counterField(), u"x42"_s); // digits only
        QCOMPARE(add.settingsLine()->text(), u"HOTP · SHA1 · 6 位 · 计数器 42"_s);
        QTest::mouseClick(add.primaryButton(), Qt::LeftButton);
        QCOMPARE(m_store->accounts().size(), 1);
        const TokenAccount counting = m_store->accounts().first();
        QCOMPARE(counting.otp.kind, OtpKind::Hotp);
        QCOMPARE(counting.otp.counter, 42u);

        EditTokenView rename(*m_store, counting);
        rename.show();
        QCOMPARE(rename.counterField()->text(), u"42"_s);
        QCOMPARE(rename.header()->subtitle(), u"不会修改密钥；更改计数器会改变验证码"_s);
        rename.counterField()->setText(u"99999999999999999999"_s); // beyond 64 bits
        QTest::mouseClick(rename.primaryButton(), Qt::LeftButton);
        QVERIFY(rename.isVisible() && rename.errorLine()->isVisible());
        rename.counterField()->setText(u"18446744073709551615"_s);
        QTest::mouseClick(rename.primaryButton(), Qt::LeftButton);
        QVERIFY(!rename.isVisible());
        QCOMPARE(m_store->accounts().first().otp.counter, ~0ull);

        addAccount(u"timed"_s, {}, otherSecret);
        QVERIFY(!EditTokenView(*m_store, m_store->accounts().last()).counterField());
    }

    void returnPressesTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("pressed");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << true;
        QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
        QTest::newRow("Shift+keypad Enter") << int(Qt::Key_Enter) << (Qt::ShiftModifier | Qt::KeypadModifier) << false;
    }
    void returnPressesTheFocusedButton()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        ReturnKeyFilter filter;
        qApp->installEventFilter(&filter);
        QPushButton button(u"停止"_s);
        button.setAutoDefault(false);
        button.show();
        button.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&button));
        button.setFocus();
        QSignalSpy clicks(&button, &QPushButton::clicked);
        QTest::keyClick(&button, Qt::Key(key), modifiers);
        QTEST(clicks.wait(500), "pressed");
    }

    void messageBoxReturnTakesTheAccentChoice_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }
    void messageBoxReturnTakesTheAccentChoice()
    {
        QFETCH(int, key);
        ReturnKeyFilter filter;
        qApp->installEventFilter(&filter);
        PanelMessageBox box(u"要显示吗？"_s, u"显示二维码"_s);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTest::keyClick(focused(), Qt::Key(key));
        QTRY_VERIFY(!box.isVisible());
        QTEST(box.result(), "result");
    }

    void sheetsFitTheScreen_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("short") << 2 << false;
        QTest::newRow("taller than the screen") << 80 << true;
    }
    // A sheet taller than the screen's room (less a title bar) scrolls, its buttons in view.
    void sheetsFitTheScreen()
    {
        QFETCH(int, lines);
        QWidget panel;
        panel.show();
        PanelMessageBox box(u"一行\n"_s.repeated(lines), {}, &panel);
        box.show();
        QVERIFY(box.height() <= panel.screen()->availableGeometry().height() - SheetDialog::titleBarAllowance);
        QTEST(box.scrollArea()->verticalScrollBar()->isVisible(), "scrolls");
        QVERIFY(box.rect().contains(QRect(box.primaryButton()->mapTo(&box, QPoint()), box.primaryButton()->size())));
    }

    void panelPresentsOneSheetAtATime()
    {
        addAccount(u"alice"_s, {}, rfcSecret);
        addAccount(u"bob"_s, {}, otherSecret);
        CodeClipboard clipboard(QApplication::clipboard());
        ContentView panel(*m_store, clipboard, m_clock.function());
        panel.show();

        QTest::mouseClick(panel.header()->addButton(), Qt::LeftButton);
        auto *sheet = qobject_cast<AddTokenView *>(panel.sheets().presentedSheet());
        QVERIFY(panel.sheets().showingAdd() && sheet && sheet->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), sheet); // so the panel's shortcuts reach it
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QCOMPARE(focused(), sheet->linkField());
        QTest::keyClicks(sheet->linkField(), totpLink); // enables "添加" for Tab
        for (QWidget *next :
             QList<QWidget *>{sheet->imageButton(), sheet->screenButton(), sheet->nameField(), sheet->issuerField(),
                              sheet->secretField(), sheet->revealBox(), sheet->codeSettings()->toggle(),
                              sheet->cancelButton(), sheet->primaryButton(), sheet->linkField()}) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            QCOMPARE(focused(), next);
        }
        TokenRow *row = panel.list()->rowFor(m_store->accounts().first().id);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), row->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(row, &enter); // hovered when the sheet came, left while it was open
        QCursor::setPos(panel.mapToGlobal(QPoint(5, 5)));
        QTest::keyClick(focused(), Qt::Key_Escape); // adds nothing, closes only the sheet
        QVERIFY(!panel.sheets().showingAdd() && !panel.sheets().presentedSheet() && panel.isVisible());
        QVERIFY(m_store->accounts().size() == 2 && m_fx.keychain.items.size() == 2);
        QVERIFY(!row->isHovered());
        QTRY_COMPARE(QApplication::activeWindow(), &panel); // the keys go to the panel again
        QCOMPARE(focused(), panel.list());

        panel.sheets().setShowingAdd(true); // a rename sheet replaces the add sheet
        QPointer<QDialog> add = panel.sheets().presentedSheet();
        panel.sheets().setEditingAccount(m_store->accounts().at(1));
        QVERIFY(!panel.sheets().showingAdd() && !add->isVisible());
        QPointer<EditTokenView> bob = qobject_cast<EditTokenView *>(panel.sheets().presentedSheet());
        QCOMPARE(bob ? bob->nameField()->text() : QString(), u"bob"_s);
        QCOMPARE(QApplication::activeModalWidget(), bob.data());

        QMenu *menu = panel.list()->rowFor(m_store->accounts().first().id)->showContextMenu({});
        const auto actions = menu->actions();
        (*std::ranges::find(actions, u"重命名…"_s, &QAction::text))->trigger();
        menu->close();
        QCOMPARE(panel.sheets().editingAccount(), m_store->accounts().first());
        const auto *alice = qobject_cast<EditTokenView *>(panel.sheets().presentedSheet());
        QVERIFY(alice && alice != bob.data());
        alice->nameField()->setText(u"carol"_s);
        QTest::keyClick(alice->nameField(), Qt::Key_Return);
        QVERIFY(!panel.sheets().editingAccount() && !panel.sheets().presentedSheet());
        QCOMPARE(m_store->accounts().first().name, u"carol"_s);
        QTRY_VERIFY(!bob && !add);

        panel.sheets().setShowingAdd(true); // cleared from outside, the flag closes its sheet
        add = panel.sheets().presentedSheet();
        panel.sheets().setShowingAdd(false);
        QVERIFY(!add->isVisible() && !panel.sheets().presentedSheet());
    }
};

QTEST_MAIN(TestSheets)
#include "tst_sheets.moc"
