#include "AccentButton.h"
#include "AddTokenView.h"
#include "CircleButton.h"
#include "CodeClipboard.h"
#include "ContentView.h"
#include "EditTokenView.h"
#include "FakeClock.h"
#include "MemoryKeychain.h"
#include "PanelHeader.h"
#include "PanelNotifications.h"
#include "SheetHeader.h"
#include "TempSettings.h"
#include "TokenListView.h"
#include "TokenRow.h"
#include "TokenStore.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString rfcSecret = u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s;
const QString otherSecret = u"JBSWY3DPEHPK3PXP"_s;
const QString invalidSecretMessage = u"密钥格式不正确，请使用 Base32 密钥。"_s;

QString link(const QString &label, const QString &secret, const QString &extra = QString())
{
    return u"otpauth://totp/%1?secret=%2%3"_s.arg(label, secret, extra);
}

} // namespace

class TestSheets : public QObject
{
    Q_OBJECT

private:
    TempSettings m_settings;
    MemoryKeychain m_keychain;
    FakeClock m_clock;
    std::unique_ptr<TokenStore> m_store;

    std::unique_ptr<AddTokenView> addSheet()
    {
        auto sheet = std::make_unique<AddTokenView>(*m_store);
        sheet->show();
        return sheet;
    }
    std::unique_ptr<EditTokenView> editSheet(int index)
    {
        auto sheet = std::make_unique<EditTokenView>(*m_store, m_store->accounts().at(index));
        sheet->show();
        return sheet;
    }
    void addAccount(const QString &name, const QString &issuer, const QString &secret)
    {
        QVERIFY(m_store->add({name, issuer, secret, 30, 6}));
    }

private Q_SLOTS:
    void init();

    void addSheetLayout();
    void focusStartsAtTheLinkAndEndsAtTheButtons();
    void linkFillsAllThreeFields();
    void linkRefillsOnlyWhenItParses();
    void linkParametersAreNotKept();
    void addButtonFollowsTrimmedSecret_data();
    void addButtonFollowsTrimmedSecret();
    void blankSecretMakesReturnInert();
    void addTrimsTheTexts();
    void invalidSecretKeepsFieldsUntilCorrected();
    void keychainFailureShowsItsMessage();
    void escapeAddsNothing();

    void renameSheetStartsFromTheAccount();
    void renameReturnFromTheFocusedField();
    void renameSaves_data();
    void renameSaves();
    void renameOfDeletedAccountChangesNothing();
    void renameEscapeKeepsTheAccount();

    void panelPresentsAddSheet();
    void panelPresentsRenameSheetFromRowMenu();
    void oneSheetAtATime();
};

void TestSheets::init()
{
    m_store.reset();
    m_settings.settings().clear();
    m_keychain = MemoryKeychain();
    m_clock.now = 59;
    m_store = std::make_unique<TokenStore>(m_keychain, m_settings.settings(), m_clock.function());
}

void TestSheets::addSheetLayout()
{
    const auto sheet = addSheet();
    QCOMPARE(sheet->width(), 410);
    QCOMPARE(sheet->header()->title(), u"添加验证码"_s);
    QCOMPARE(sheet->header()->subtitle(), u"密钥仅保存在这台电脑的钥匙串中"_s);
    QCOMPARE(sheet->linkField()->placeholderText(), u"粘贴 otpauth:// 链接"_s);
    QCOMPARE(sheet->secretField()->echoMode(), QLineEdit::Password);
    QVERIFY(sheet->primaryButton()->isDefault());
    QVERIFY(!sheet->errorLine()->isVisible());
    QVERIFY(sheet->linkField()->text().isEmpty());
}

void TestSheets::focusStartsAtTheLinkAndEndsAtTheButtons()
{
    const auto sheet = addSheet();
    sheet->secretField()->setText(rfcSecret); // a disabled "添加" would be skipped
    QVERIFY(QTest::qWaitForWindowActive(sheet.get()));
    QCOMPARE(QApplication::focusWidget(), sheet->linkField());
    const QList<QWidget *> order{sheet->nameField(),    sheet->issuerField(),   sheet->secretField(),
                                 sheet->cancelButton(), sheet->primaryButton(), sheet->linkField()};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestSheets::linkFillsAllThreeFields()
{
    const auto sheet = addSheet();
    QTest::keyClicks(sheet->linkField(), link(u"GitHub:alice@example.com"_s, otherSecret));
    QCOMPARE(sheet->nameField()->text(), u"alice@example.com"_s);
    QCOMPARE(sheet->issuerField()->text(), u"GitHub"_s);
    QCOMPARE(sheet->secretField()->text(), otherSecret);
    QVERIFY(sheet->primaryButton()->isEnabled());
}

void TestSheets::linkRefillsOnlyWhenItParses()
{
    const auto sheet = addSheet();
    QLineEdit *linkField = sheet->linkField();
    linkField->setText(link(u"GitHub:alice"_s, otherSecret));
    sheet->nameField()->setText(u"typed by hand"_s);

    linkField->home(false);
    QTest::keyClick(linkField, Qt::Key_X); // "xotpauth://" is no TOTP link
    QCOMPARE(sheet->nameField()->text(), u"typed by hand"_s);
    QCOMPARE(sheet->issuerField()->text(), u"GitHub"_s);

    QTest::keyClick(linkField, Qt::Key_Backspace);
    QCOMPARE(sheet->nameField()->text(), u"alice"_s);
    linkField->end(false);
    QTest::keyClicks(linkField, u"&issuer=Gitea"_s);
    QCOMPARE(sheet->issuerField()->text(), u"Gitea"_s);
    QVERIFY(!sheet->errorMessage());
}

void TestSheets::linkParametersAreNotKept()
{
    const auto sheet = addSheet();
    sheet->linkField()->setText(link(u"Acme:bob"_s, rfcSecret, u"&period=60&digits=8"_s));
    QTest::mouseClick(sheet->primaryButton(), Qt::LeftButton);
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    QCOMPARE(m_store->accounts().size(), 1);
    const TokenAccount &account = m_store->accounts().first();
    QCOMPARE(account.name, u"bob"_s);
    QCOMPARE(account.issuer, u"Acme"_s);
    QCOMPARE(account.period, 30);
    QCOMPARE(account.digits, 6);
    QCOMPARE(m_store->codes().value(account.id), u"287082"_s);
}

void TestSheets::addButtonFollowsTrimmedSecret_data()
{
    QTest::addColumn<QString>("secret");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("spaces") << u"    "_s << false;
    QTest::newRow("tab and ideographic space") << u"\t\u3000 "_s << false;
    QTest::newRow("one letter") << u"A"_s << true;
    QTest::newRow("spaces around") << u"  GEZD  "_s << true;
}

void TestSheets::addButtonFollowsTrimmedSecret()
{
    QFETCH(QString, secret);
    QFETCH(bool, enabled);
    const auto sheet = addSheet();
    sheet->secretField()->setText(u"X"_s);
    sheet->secretField()->setText(secret);
    QCOMPARE(sheet->primaryButton()->isEnabled(), enabled);
}

void TestSheets::blankSecretMakesReturnInert()
{
    const auto sheet = addSheet();
    QTest::keyClicks(sheet->nameField(), u"alice"_s);
    QTest::keyClicks(sheet->secretField(), u"   "_s);
    QVERIFY(!sheet->primaryButton()->isEnabled());
    QTest::keyClick(sheet->secretField(), Qt::Key_Return);
    QTest::keyClick(sheet->nameField(), Qt::Key_Enter);
    QVERIFY(sheet->isVisible());
    QVERIFY(m_store->accounts().isEmpty());
    QVERIFY(!sheet->errorMessage());
}

void TestSheets::addTrimsTheTexts()
{
    const auto sheet = addSheet();
    QTest::keyClicks(sheet->nameField(), u"  alice  "_s);
    QTest::keyClicks(sheet->issuerField(), u" Acme "_s);
    QTest::keyClicks(sheet->secretField(), u"  gezd gnbv gy3t qojq gezd gnbv gy3t qojq  "_s);
    QTest::keyClick(sheet->secretField(), Qt::Key_Return);
    QVERIFY(!sheet->isVisible());
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    QCOMPARE(m_store->accounts().size(), 1);
    QCOMPARE(m_store->accounts().first().name, u"alice"_s);
    QCOMPARE(m_store->accounts().first().issuer, u"Acme"_s);
    QCOMPARE(m_keychain.items.value(m_store->accounts().first().id), rfcSecret);
}

void TestSheets::invalidSecretKeepsFieldsUntilCorrected()
{
    addAccount(u"first"_s, {}, otherSecret);
    const auto sheet = addSheet();
    QTest::keyClicks(sheet->nameField(), u"alice"_s);
    QTest::keyClicks(sheet->issuerField(), u"Acme"_s);
    QTest::keyClicks(sheet->secretField(), u"not base32!"_s);
    const int heightBefore = sheet->height();
    QTest::keyClick(sheet->secretField(), Qt::Key_Return);

    QVERIFY(sheet->isVisible());
    QCOMPARE(sheet->errorMessage(), invalidSecretMessage);
    QVERIFY(sheet->errorLine()->isVisible());
    QCOMPARE(sheet->errorLine()->text(), invalidSecretMessage);
    QVERIFY(sheet->height() > heightBefore);
    QCOMPARE(sheet->nameField()->text(), u"alice"_s);
    QCOMPARE(sheet->issuerField()->text(), u"Acme"_s);
    QCOMPARE(sheet->secretField()->text(), u"not base32!"_s);
    QVERIFY(sheet->primaryButton()->isEnabled());
    QCOMPARE(m_store->accounts().size(), 1);

    sheet->secretField()->clear();
    QTest::keyClicks(sheet->secretField(), rfcSecret);
    QCOMPARE(sheet->errorMessage(), invalidSecretMessage); // editing does not clear it
    QTest::mouseClick(sheet->primaryButton(), Qt::LeftButton);
    QVERIFY(!sheet->isVisible());
    QCOMPARE(m_store->accounts().size(), 2);
    QCOMPARE(m_store->accounts().last().name, u"alice"_s);
}

void TestSheets::keychainFailureShowsItsMessage()
{
    m_keychain.saveFailure = KeychainError(u"secret-error"_s, 2, u"钥匙串已锁定"_s);
    const auto sheet = addSheet();
    QTest::keyClicks(sheet->secretField(), rfcSecret);
    QTest::keyClick(sheet->secretField(), Qt::Key_Return);
    QCOMPARE(sheet->errorMessage(), u"钥匙串已锁定"_s);
    QCOMPARE(sheet->secretField()->text(), rfcSecret);
    QVERIFY(m_store->accounts().isEmpty());
}

void TestSheets::escapeAddsNothing()
{
    const auto sheet = addSheet();
    QTest::keyClicks(sheet->linkField(), link(u"Acme:bob"_s, rfcSecret));
    QTest::keyClick(sheet->linkField(), Qt::Key_Escape);
    QVERIFY(!sheet->isVisible());
    QCOMPARE(sheet->result(), int(QDialog::Rejected));
    QVERIFY(m_store->accounts().isEmpty());
    QVERIFY(m_keychain.items.isEmpty());
}

void TestSheets::renameSheetStartsFromTheAccount()
{
    addAccount(u"alice"_s, u"Acme"_s, rfcSecret);
    const auto sheet = editSheet(0);
    QCOMPARE(sheet->width(), 390);
    QCOMPARE(sheet->header()->title(), u"重命名验证码"_s);
    QCOMPARE(sheet->header()->subtitle(), u"不会修改密钥或验证码内容"_s);
    QCOMPARE(sheet->nameField()->text(), u"alice"_s);
    QCOMPARE(sheet->issuerField()->text(), u"Acme"_s);
    QCOMPARE(sheet->nameField()->placeholderText(), u"例如：name@example.com"_s);
    QCOMPARE(sheet->issuerField()->placeholderText(), u"例如：GitHub"_s);
    sheet->nameField()->clear();
    sheet->issuerField()->clear();
    QVERIFY(sheet->primaryButton()->isEnabled());
}

void TestSheets::renameReturnFromTheFocusedField()
{
    addAccount(u"alice"_s, {}, rfcSecret);
    const auto sheet = editSheet(0);
    QVERIFY(QTest::qWaitForWindowActive(sheet.get()));
    QCOMPARE(QApplication::focusWidget(), sheet->nameField());
    QTest::keyClicks(QApplication::focusWidget(), u"bob"_s); // replaces the selected name
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!sheet->isVisible());
    QCOMPARE(m_store->accounts().first().name, u"bob"_s);
}

void TestSheets::renameSaves_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("issuer");
    QTest::addColumn<bool>("byReturn");
    QTest::addColumn<QString>("savedName");
    QTest::addColumn<QString>("savedIssuer");
    QTest::newRow("blank name") << u""_s << u"Acme"_s << true << u"验证码"_s << u"Acme"_s;
    QTest::newRow("spaces only") << u"   "_s << u"Acme"_s << false << u"验证码"_s << u"Acme"_s;
    QTest::newRow("spaces around") << u"  Work  "_s << u" Corp "_s << true << u"Work"_s << u"Corp"_s;
    QTest::newRow("blank issuer") << u"alice"_s << u""_s << false << u"alice"_s << u""_s;
}

void TestSheets::renameSaves()
{
    QFETCH(QString, name);
    QFETCH(QString, issuer);
    QFETCH(bool, byReturn);
    QFETCH(QString, savedName);
    QFETCH(QString, savedIssuer);
    addAccount(u"old"_s, u"Old"_s, rfcSecret);
    const auto sheet = editSheet(0);
    sheet->nameField()->clear();
    QTest::keyClicks(sheet->nameField(), name);
    sheet->issuerField()->clear();
    QTest::keyClicks(sheet->issuerField(), issuer);
    if (byReturn)
        QTest::keyClick(sheet->nameField(), Qt::Key_Return);
    else
        QTest::mouseClick(sheet->primaryButton(), Qt::LeftButton);
    QVERIFY(!sheet->isVisible());
    QCOMPARE(m_store->accounts().first().name, savedName);
    QCOMPARE(m_store->accounts().first().issuer, savedIssuer);
    QCOMPARE(m_store->accounts().first().period, 30);
    QCOMPARE(m_keychain.items.value(m_store->accounts().first().id), rfcSecret);
}

void TestSheets::renameOfDeletedAccountChangesNothing()
{
    addAccount(u"alice"_s, u"Acme"_s, rfcSecret);
    addAccount(u"bob"_s, {}, otherSecret);
    const auto sheet = editSheet(0);
    m_store->requestDelete(m_store->accounts().at(0));
    const QList<TokenAccount> before = m_store->accounts();
    QSignalSpy changes(m_store.get(), &TokenStore::accountsChanged);
    sheet->nameField()->setText(u"renamed"_s);
    QTest::keyClick(sheet->nameField(), Qt::Key_Return);
    QVERIFY(!sheet->isVisible());
    QCOMPARE(sheet->result(), int(QDialog::Accepted));
    QCOMPARE(m_store->accounts(), before);
    QCOMPARE(changes.count(), 0);
    m_store->undoDelete();
    QCOMPARE(m_store->accounts().first().name, u"alice"_s);
}

void TestSheets::renameEscapeKeepsTheAccount()
{
    addAccount(u"alice"_s, u"Acme"_s, rfcSecret);
    const auto sheet = editSheet(0);
    sheet->nameField()->setText(u"renamed"_s);
    QTest::keyClick(sheet->nameField(), Qt::Key_Escape);
    QVERIFY(!sheet->isVisible());
    QCOMPARE(m_store->accounts().first().name, u"alice"_s);
}

void TestSheets::panelPresentsAddSheet()
{
    CodeClipboard clipboard(QApplication::clipboard());
    PanelNotifications notifications;
    ContentView panel(*m_store, clipboard, notifications, m_clock.function());
    panel.show();
    QSignalSpy showing(&panel, &ContentView::showingAddChanged);

    QTest::mouseClick(panel.header()->addButton(), Qt::LeftButton);
    QVERIFY(panel.showingAdd());
    QPointer<AddTokenView> sheet = qobject_cast<AddTokenView *>(panel.presentedSheet());
    QVERIFY(sheet);
    QVERIFY(sheet->isVisible());
    QCOMPARE(sheet->parentWidget(), panel.window());
    QCOMPARE(sheet->windowModality(), Qt::WindowModal);
    QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget *>(sheet.data()));

    QTest::keyClicks(sheet->nameField(), u"left behind"_s);
    QTest::keyClick(sheet->nameField(), Qt::Key_Escape);
    QVERIFY(!panel.showingAdd());
    QVERIFY(!panel.presentedSheet());
    QCOMPARE(showing.count(), 2);
    QVERIFY(panel.isVisible()); // Escape closed the sheet, not the panel
    QTRY_VERIFY(!sheet);

    // A new presentation starts empty; adding closes it.
    panel.setShowingAdd(true);
    sheet = qobject_cast<AddTokenView *>(panel.presentedSheet());
    QVERIFY(sheet);
    QVERIFY(sheet->nameField()->text().isEmpty());
    QTest::keyClicks(sheet->secretField(), rfcSecret);
    QTest::keyClick(sheet->secretField(), Qt::Key_Return);
    QVERIFY(!panel.showingAdd());
    QCOMPARE(m_store->accounts().size(), 1);
    QTRY_VERIFY(!sheet);

    // Cleared from outside, the flag closes its sheet.
    panel.setShowingAdd(true);
    sheet = qobject_cast<AddTokenView *>(panel.presentedSheet());
    panel.setShowingAdd(false);
    QVERIFY(!sheet->isVisible());
    QVERIFY(!panel.presentedSheet());
}

void TestSheets::panelPresentsRenameSheetFromRowMenu()
{
    addAccount(u"alice"_s, u"Acme"_s, rfcSecret);
    CodeClipboard clipboard(QApplication::clipboard());
    PanelNotifications notifications;
    ContentView panel(*m_store, clipboard, notifications, m_clock.function());
    panel.resize(326, panel.panelHeight());
    panel.show();

    TokenRow *row = panel.list()->rowFor(m_store->accounts().first().id);
    QMenu *menu = row->showContextMenu({});
    const auto actions = menu->actions();
    const auto rename = std::find_if(actions.cbegin(), actions.cend(),
                                     [](QAction *action) { return action->text() == u"重命名…"_s; });
    QVERIFY(rename != actions.cend());
    (*rename)->trigger();
    menu->close();

    QCOMPARE(panel.editingAccount(), m_store->accounts().first());
    QPointer<EditTokenView> sheet = qobject_cast<EditTokenView *>(panel.presentedSheet());
    QVERIFY(sheet);
    QCOMPARE(sheet->nameField()->text(), u"alice"_s);
    QCOMPARE(sheet->parentWidget(), panel.window());
    sheet->nameField()->setText(u"bob"_s);
    QTest::keyClick(sheet->nameField(), Qt::Key_Return);
    QVERIFY(!panel.editingAccount());
    QVERIFY(!panel.presentedSheet());
    QCOMPARE(m_store->accounts().first().name, u"bob"_s);
    QTRY_VERIFY(!sheet);
}

void TestSheets::oneSheetAtATime()
{
    addAccount(u"alice"_s, {}, rfcSecret);
    addAccount(u"bob"_s, {}, otherSecret);
    CodeClipboard clipboard(QApplication::clipboard());
    PanelNotifications notifications;
    ContentView panel(*m_store, clipboard, notifications, m_clock.function());
    panel.show();

    panel.setShowingAdd(true);
    QPointer<QDialog> add = panel.presentedSheet();
    panel.setEditingAccount(m_store->accounts().at(0));
    QVERIFY(!panel.showingAdd());
    QVERIFY(!add->isVisible());
    QPointer<EditTokenView> first = qobject_cast<EditTokenView *>(panel.presentedSheet());
    QVERIFY(first);

    // Another account replaces the open sheet and keeps the new account.
    panel.setEditingAccount(m_store->accounts().at(1));
    QCOMPARE(panel.editingAccount(), m_store->accounts().at(1));
    const auto *second = qobject_cast<EditTokenView *>(panel.presentedSheet());
    QVERIFY(second && second != first.data());
    QCOMPARE(second->nameField()->text(), u"bob"_s);
    QTRY_VERIFY(!first && !add);
}

QTEST_MAIN(TestSheets)
#include "tst_sheets.moc"
