#include "store/ImportRun.h"
#include "support/DarkPalette.h"
#include "support/QrImage.h"
#include "support/StoreFixture.h"
#include "ui/AddFlows.h"
#include "ui/AddTokenView.h"
#include "ui/CircleButton.h"
#include "ui/CodeClipboard.h"
#include "ui/CodeCopier.h"
#include "ui/CodeText.h"
#include "ui/ContentView.h"
#include "ui/EmptyStateView.h"
#include "ui/KeychainStatusPresenter.h"
#include "ui/KeychainStatusView.h"
#include "ui/PanelHeader.h"
#include "ui/QuickEntryView.h"
#include "ui/SheetPresenter.h"
#include "ui/TokenListView.h"
#include "ui/TokenProgressView.h"
#include "ui/TokenRow.h"
#include "ui/UndoBar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

class TestContentView : public QObject
{
    Q_OBJECT

private:
    StoreFixture m_fx;
    FakeClock &m_clock = m_fx.clock;
    std::unique_ptr<TokenStore> &m_store = m_fx.store;
    std::unique_ptr<CodeClipboard> m_clipboard;
    std::unique_ptr<ContentView> m_view;

    ContentView &view(int accounts)
    {
        m_view.reset();
        m_fx.restart();
        for (int i = 0; i < accounts; ++i)
            added(*m_store, {u"account %1"_s.arg(i), u"Acme"_s, StoreFixture::secret(i), 30, 6});
        m_view = std::make_unique<ContentView>(*m_store, *m_clipboard, m_clock.function(), m_clock.singleShot());
        m_view->resize(326, m_view->panelHeight());
        m_view->show();
        return *m_view;
    }
    TokenRow *row(int index) { return m_view->list()->rowFor(m_store->accounts().at(index).id); }
    // The accounts' numbers in list order.
    QString order() const
    {
        QString numbers;
        for (const TokenAccount &account : m_store->accounts())
            numbers += account.name.back();
        return numbers;
    }
    // Taken over with empty text: a dropped clipboard would leave a Wayland desktop's copy.
    static bool emptied()
    {
        const QMimeData *data = QApplication::clipboard()->mimeData();
        return data && data->hasText() && data->text().isEmpty();
    }

private Q_SLOTS:
    void init()
    {
        m_view.reset();
        m_fx.reset();
        m_clipboard = std::make_unique<CodeClipboard>(QApplication::clipboard(), m_clock.singleShot());
        QApplication::clipboard()->clear();
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight()); // off the panel
    }

    void heightFollowsLayoutState_data()
    {
        QTest::addColumn<int>("accounts");
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("collapsed");
        QTest::addColumn<int>("height");
        QTest::newRow("collapsed") << 3 << false << true << true << 44;
        QTest::newRow("empty") << 0 << false << false << false << 146;
        QTest::newRow("empty with error") << 0 << true << false << false << 164;
        QTest::newRow("empty, error and undo bar") << 1 << true << true << false << 201;
        QTest::newRow("one account") << 1 << false << false << false << 115;
        QTest::newRow("three accounts") << 3 << false << false << false << 255;
        QTest::newRow("ten accounts") << 10 << false << false << false << 255;
        QTest::newRow("three with undo bar") << 4 << false << true << false << 292;
    }

    void heightFollowsLayoutState()
    {
        QFETCH(int, accounts);
        QFETCH(bool, error);
        QFETCH(bool, pending);
        QFETCH(bool, collapsed);
        ContentView &panel = view(accounts);
        if (pending)
            m_store->requestDelete(m_store->accounts().first());
        if (error)
            panel.addFlows().setQuickError(u"x"_s);
        panel.setCollapsed(collapsed);
        QTEST(panel.panelHeight(), "height");
        QCOMPARE(panel.list()->scrollBar()->isVisibleTo(panel.list()), accounts - int(pending) > 3);
        if (accounts > int(pending) && !collapsed)
            QCOMPARE(row(0)->width(), 326); // the scroll bar does not narrow the rows
    }

    void scrolledRowsFollowTheStillPointer()
    {
        ContentView &panel = view(10);
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QCursor::setPos(row(0)->mapToGlobal(QPoint(5, 5)));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QCursor::pos());
        QApplication::sendEvent(row(0), &enter);
        QVERIFY(row(0)->isHovered());
        QWheelEvent wheel(QPointF(5, 5), QCursor::pos(), {}, {0, -240}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(panel.list()->viewport(), &wheel);
        QVERIFY(panel.list()->scrollBar()->value() > 0);
        for (TokenRow *shown : panel.list()->findChildren<TokenRow *>()) {
            if (shown->isVisible())
                QCOMPARE(shown->isHovered(), shown->rect().contains(shown->mapFromGlobal(QCursor::pos())));
        }
    }

    // The rows stay where they are while an import adds batch after batch; at the end the
    // first imported account is the current row.
    void importKeepsTheListStill()
    {
        ContentView &panel = view(3);
        QList<ImportedToken> tokens;
        for (int i = 1; i <= 25; ++i)
            tokens.append({u"new %1"_s.arg(i), {}, StoreFixture::secret(26 * i), 30, 6});
        ImportRun run(*m_store, tokens);
        QList<int> offsets;
        connect(&run, &ImportRun::progressed, this, [&] { offsets << panel.list()->scrollBar()->value(); });
        QSignalSpy finished(&run, &ImportRun::finished);
        run.start();
        QVERIFY(finished.wait());
        QCOMPARE(offsets, QList<int>(3, 0));
        QCOMPARE(panel.list()->filter().current()->name, u"new 1"_s);
        QVERIFY(panel.list()->rowFor(panel.list()->filter().current()->id));
    }

    void keychainStatusLine_data()
    {
        using Status = KeychainStore::Status;
        QTest::addColumn<KeychainStore::Status>("state");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("note");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("action");
        QTest::newRow("usable") << Status::Available << QString() << false << QString() << QString();
        QTest::newRow("locked") << Status::Locked << QString() << false << u"钥匙串已锁定。"_s << u"解锁"_s;
        QTest::newRow("unreachable") << Status::Unreachable << QString() << false
                                     << u"无法连接钥匙串服务，稍后自动重试。"_s << QString();
        QTest::newRow("no default keyring")
            << Status::NoDefaultKeyring << QString() << false << u"没有默认钥匙串。"_s << u"创建"_s;
        QTest::newRow("paste-add refused while listed")
            << Status::Available << u"服务拒绝"_s << false << u"服务拒绝"_s << QString();
        QTest::newRow("paste-add refused by the locked keyring")
            << Status::Locked << u"locked"_s << false << u"钥匙串已锁定，账户没有添加。解锁钥匙串后即可再次添加。"_s
            << u"解锁并添加"_s;
        QTest::newRow("usable keychain: the note")
            << Status::Available << QString() << true << u"找不到备份文件夹。"_s << u"选择文件夹…"_s;
        QTest::newRow("locked keychain before the note")
            << Status::Locked << QString() << true << u"钥匙串已锁定。"_s << u"解锁"_s;
    }

    // One line under the header, as tall as the quick entry's error line; its action asks the
    // keychain to unlock. A lasting note from elsewhere (failing backups) fills the line while
    // the keychain has nothing to say, and its button runs the note's own action.
    void keychainStatusLine()
    {
        QFETCH(KeychainStore::Status, state);
        QFETCH(QString, refusal);
        QFETCH(bool, note);
        QFETCH(QString, action);
        m_fx.keychain.state = state;
        ContentView &panel = view(1);
        if (!refusal.isEmpty()) {
            m_fx.keychain.saveFailure = KeychainError(u"test"_s, 1, refusal);
            panel.addFlows().addQuickSecret(StoreFixture::secret(2));
        }
        int acted = 0;
        if (note)
            panel.statusPresenter()->setNote(u"找不到备份文件夹。"_s, u"选择文件夹…"_s, [&] { ++acted; });
        QTEST(panel.keychainStatus()->text(), "text");
        QCOMPARE(panel.keychainStatus()->isVisible(), !panel.keychainStatus()->text().isEmpty());
        const auto *line = panel.keychainStatus()->findChild<QLabel *>(); // ends at a whole character
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <= line->contentsRect().width());
        QCOMPARE(panel.panelHeight(), 115 + (panel.keychainStatus()->isVisible() ? 18 : 0));
        QCOMPARE(panel.keychainStatus()->actionButton()->isVisibleTo(&panel), !action.isEmpty());
        if (action.isEmpty())
            return;
        QCOMPARE(panel.keychainStatus()->actionButton()->text(), action);
        const bool noteActs = note && state == KeychainStore::Status::Available;
        const int unlocks = m_fx.keychain.unlockCalls;
        panel.keychainStatus()->actionButton()->click();
        QCOMPARE(acted, int(noteActs));
        QCOMPARE(m_fx.keychain.unlockCalls, unlocks + int(!noteActs));
        panel.statusPresenter()->setNote({}, {}, {});
        QCOMPARE(panel.keychainStatus()->text().isEmpty(), noteActs);
    }

    void deletionShowsTheUndoBarAndResizesOnTheNextTurn()
    {
        ContentView &panel = view(1);
        QSignalSpy sizes(&panel, &ContentView::sizeRequested);
        QVERIFY(sizes.wait()); // the unanimated request of the first show
        QCOMPARE(sizes.takeFirst(), QVariantList({QSizeF(326, 115), false}));

        // The list and the pending deletion change together: one request.
        m_store->requestDelete(m_store->accounts().first());
        QCOMPARE(sizes.count(), 0);
        QTRY_COMPARE(sizes.count(), 1);
        QCOMPARE(sizes.takeFirst(), QVariantList({QSizeF(326, 183), true}));
        QVERIFY(panel.undoBar()->isVisible());
        QCOMPARE(panel.undoBar()->message(), u"已删除 Acme · account 0"_s); // as its row names it
        QTest::mouseClick(panel.undoBar()->undoButton(), Qt::LeftButton);
        QCOMPARE(m_store->accounts().size(), 1);
        QVERIFY(!panel.undoBar()->isVisible());
        QTRY_COMPARE(sizes.count(), 1);
        QCOMPARE(sizes.takeFirst(), QVariantList({QSizeF(326, 115), true}));
    }

    // While filtering the panel is as tall as the rows that match, one at least, and grows back.
    void filterShrinksThePanel()
    {
        ContentView &panel = view(3);
        panel.list()->setFilter(u"account 1"_s);
        QCOMPARE(panel.panelHeight(), 115);
        QCOMPARE(panel.list()->height(), 70);
        panel.list()->setFilter(u"zz"_s);
        QCOMPARE(panel.panelHeight(), 115);
        panel.list()->setFilter(QString());
        QCOMPARE(panel.panelHeight(), 255);
    }

    void onlyVisibleRowsAreBuilt()
    {
        QList<TokenAccount> accounts;
        for (int i = 0; i < 1000; ++i)
            accounts.append({QUuid::createUuid(), u"a%1"_s.arg(i), {}, 30, 6});
        m_fx.settings.settings().setValue(u"totp.accounts"_s, TokenAccount::encodeList(accounts));
        ContentView &panel = view(0);
        QVERIFY(panel.list()->builtRowCount() <= 6);
        panel.list()->verticalScrollBar()->setValue(70 * 500);
        QVERIFY(panel.list()->rowFor(m_store->accounts().at(500).id));
        QVERIFY(panel.list()->builtRowCount() <= 6);
        // A new account at the end is scrolled into view.
        added(*m_store, {u"new"_s, {}, StoreFixture::secret(1), 30, 6});
        QVERIFY(panel.list()->rowFor(m_store->accounts().constLast().id));
    }

    void copyClearsTheClipboardLater()
    {
        view(1);
        m_store->preferences().setClipboardClearDelay(2);
        QTest::mouseClick(row(0), Qt::LeftButton, {}, row(0)->copyArea().center());
        QCOMPARE(QApplication::clipboard()->text(), u"287082"_s);
        QCOMPARE(QApplication::clipboard()->mimeData()->data(u"x-kde-passwordManagerHint"_s), "secret"_ba);
        QCOMPARE(m_view->copier().copiedAccountID(), m_store->accounts().at(0).id);
        QVERIFY(row(0)->isCopied());
        m_clock.advance(1.2);
        QVERIFY(!row(0)->isCopied());
        QCOMPARE(QApplication::clipboard()->text(), u"287082"_s);
        m_clock.advance(0.8);
        QVERIFY(emptied());

        m_view->copier().copyAccount(m_store->accounts().first()); // what the user copies meanwhile stays
        QApplication::clipboard()->setText(u"something the user copied"_s);
        m_clock.advance(2);
        QCOMPARE(QApplication::clipboard()->text(), u"something the user copied"_s);
        // The same code twice: the first copy's clear leaves the second its whole delay.
        m_view->copier().copyAccount(m_store->accounts().first());
        m_clock.advance(1);
        m_view->copier().copyAccount(m_store->accounts().first());
        m_clock.advance(1);
        QCOMPARE(QApplication::clipboard()->text(), u"287082"_s);
        m_clock.advance(1);
        QVERIFY(emptied());

        m_store->preferences().setClipboardClearDelay(0); // never
        m_view->copier().copyAccount(m_store->accounts().first());
        m_clock.advance(1e6);
        QCOMPARE(QApplication::clipboard()->text(), u"287082"_s);
    }

    void hiddenCodesShowWhereLooked_data()
    {
        QTest::addColumn<QString>("look"); // what the person does
        QTest::addColumn<int>("shown"); // the row whose code shows, if any
        QTest::newRow("the panel has the keys") << u"nothing"_s << -1;
        QTest::newRow("pointer on the second row") << u"hover"_s << 1;
        QTest::newRow("pointer came and went") << u"hover, leave"_s << -1;
        QTest::newRow("keys on the second row") << u"keys"_s << 1;
        QTest::newRow("Ctrl+2 copies unseen") << u"copy"_s << -1;
    }

    // Hidden rows draw dots that give no digit away, and the accessible name says so.
    void hiddenCodesShowWhereLooked()
    {
        QFETCH(QString, look);
        QFETCH(int, shown);
        m_fx.settings.settings().setValue(u"totp.hideCodes"_s, true);
        ContentView &panel = view(3);
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        const QString second = m_store->codes().value(m_store->accounts().at(1).id);
        if (look.startsWith(u"hover"_s)) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), row(1)->mapToGlobal(QPointF(5, 5)));
            QApplication::sendEvent(row(1), &enter);
        }
        if (look.endsWith(u"leave"_s)) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(row(1), &leave);
        }
        if (look == u"keys"_s) {
            panel.header()->quitButton()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(panel.header()->quitButton(), Qt::Key_Tab);
            QTest::keyClick(panel.list(), Qt::Key_Down);
        }
        if (look == u"copy"_s) {
            m_view->copyShownRow(1);
            QCOMPARE(QApplication::clipboard()->text(), second);
            QVERIFY(row(1)->isCopied());
        }
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(row(i)->showsCode(), i == shown);
            QCOMPARE(row(i)->accessibleName().contains(m_store->codes().value(m_store->accounts().at(i).id)),
                     i == shown);
        }
        const auto codePicture = [this](int i) { return row(i)->grab(row(i)->codeArea()).toImage(); };
        QCOMPARE(codePicture(0), codePicture(2)); // two codes, the same dots
        QVERIFY(row(0)->accessibleName().contains(u"验证码已隐藏"_s));
        m_store->preferences().setHideCodes(false);
        QVERIFY(codePicture(0) != codePicture(2));
    }

    void lockTakesBackOnlyOurCode_data()
    {
        QTest::addColumn<qint64>("delay");
        QTest::addColumn<QString>("copiedAfter"); // what someone copied after the code, if anything
        QTest::addColumn<bool>("emptied");
        QTest::newRow("our code") << qint64(60) << QString() << true;
        QTest::newRow("our code, never cleared") << qint64(0) << QString() << true;
        QTest::newRow("someone's text") << qint64(60) << u"note"_s << false;
        QTest::newRow("someone's copy of the same code") << qint64(60) << u"287082"_s << false;
    }

    void lockTakesBackOnlyOurCode()
    {
        QFETCH(qint64, delay);
        QFETCH(QString, copiedAfter);
        view(1);
        m_store->preferences().setClipboardClearDelay(delay);
        m_view->copier().copyAccount(m_store->accounts().first());
        if (!copiedAfter.isNull())
            QApplication::clipboard()->setText(copiedAfter);
        m_clipboard->takeBackCode();
        QTEST(emptied(), "emptied");
        if (!copiedAfter.isNull())
            QCOMPARE(QApplication::clipboard()->text(), copiedAfter);
    }

    void codesOfOtherLengths_data()
    {
        QTest::addColumn<ImportedToken>("token");
        QTest::addColumn<QString>("shown");
        const QString steamKey = u"63BEDWCQZKTQWPESARIERL5DTTQFCJTK"_s;
        // oathtool and KeePassXC's Steam algorithm at 1700000000.
        QTest::newRow("7 digits") << ImportedToken{u"a"_s, {}, u"JBSWY3DPEHPK3PXP"_s, {60, 7}} << u"950 8648"_s;
        QTest::newRow("8 digits, SHA256")
            << ImportedToken{u"a"_s, {}, rfcSecret, {60, 8, HashAlgorithm::Sha256}} << u"3485 5935"_s;
        QTest::newRow("Steam") << ImportedToken{u"a"_s, {}, steamKey, {30, 5, HashAlgorithm::Sha1, OtpKind::Steam}}
                               << u"DCTPN"_s;
    }

    // Shown in groups that fit the row, copied by click and by shortcut without the space. A row
    // whose secret is missing shows the placeholder, which is never copied.
    void codesOfOtherLengths()
    {
        QFETCH(ImportedToken, token);
        QFETCH(QString, shown);
        m_clock.now = 1700000000;
        const TokenAccount orphan{QUuid::createUuid(), u"orphan"_s, {}, 30, 6};
        m_fx.settings.settings().setValue(u"totp.accounts"_s, TokenAccount::encodeList({orphan}));
        view(0);
        QVERIFY(added(*m_store, token));
        QCOMPARE(row(0)->codeText(), CodeText::placeholder);
        QTest::mouseClick(row(0), Qt::LeftButton, {}, row(0)->copyArea().center());
        m_view->copyShownRow(2); // past the end
        QVERIFY(QApplication::clipboard()->text().isEmpty() && !m_view->copier().copiedAccountID());
        QCOMPARE(CodeText::shown(row(1)->codeText(), token.otp.isSteam()), shown);
        QCOMPARE(CodeText::shown(u"554000994"_s, false), u"554000994"_s);
        QTest::mouseClick(row(1), Qt::LeftButton, {}, row(1)->copyArea().center());
        QCOMPARE(QApplication::clipboard()->text(), QString(shown).remove(u' '));
        QApplication::clipboard()->clear();
        m_view->copyShownRow(1);
        QCOMPARE(QApplication::clipboard()->text(), QString(shown).remove(u' '));
    }

    // A counter-based row has no bar and no code until asked: the button, a click, Return and
    // the shortcut each move the counter on and copy the code of the counter it had; the code
    // stays until the panel hides. Codes: `oathtool --hotp -b -c N JBSWY3DPEHPK3PXP`.
    void counterRowCopiesTheNextCode()
    {
        view(0);
        QVERIFY(added(*m_store, {u"H"_s, {}, u"JBSWY3DPEHPK3PXP"_s, {.kind = OtpKind::Hotp, .counter = 9}}));
        TokenRow *hotp = row(0);
        QVERIFY(!hotp->findChild<TokenProgressView *>()->isVisible());
        QVERIFY(hotp->nextCodeButton()->isVisible());
        QCOMPARE(hotp->codeText(), CodeText::placeholder);
        QVERIFY(!hotp->nextCodeButton()->geometry().intersects(hotp->codeArea()));
        QClipboard *clipboard = QApplication::clipboard();

        hotp->nextCodeButton()->click();
        QCOMPARE(clipboard->text(), u"924769"_s);
        QCOMPARE(hotp->codeText(), u"924769"_s);
        QTest::mouseClick(hotp, Qt::LeftButton, {}, hotp->copyArea().center());
        QCOMPARE(clipboard->text(), u"930313"_s);
        m_view->copyShownRow(0);
        QCOMPARE(clipboard->text(), u"288090"_s);
        m_view->list()->setFocus();
        QTest::keyClick(m_view->list(), Qt::Key_Return);
        QCOMPARE(clipboard->text(), u"286296"_s);
        QCOMPARE(m_store->accounts().first().otp.counter, 13u);
        m_clock.now += 3600;
        m_store->refreshCodes(m_clock.now);
        QCOMPARE(hotp->codeText(), u"286296"_s);
        m_view->hide();
        QCOMPARE(hotp->codeText(), CodeText::placeholder);
    }

    void quickEntryAddsAndEmptiesAndItsErrorExpires()
    {
        ContentView &panel = view(0);
        QLineEdit *field = panel.addFlows().quickEntry()->field();
        QVERIFY(field->isVisible() && panel.focusWidget() == field);
        auto lines = panel.emptyState()->findChildren<QLabel *>(); // the two hint lines, 2 px apart
        std::sort(lines.begin(), lines.end(), [](QLabel *a, QLabel *b) { return a->y() < b->y(); });
        QCOMPARE(lines.at(1)->y() - lines.at(0)->y() - lines.at(0)->sizeHint().height(), 2);
        QCOMPARE(field->echoMode(), QLineEdit::Password);
        QTest::keyClicks(field, u"otpauth://totp/x"_s);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(panel.addFlows().quickError(), AddFlows::invalidSecretError());
        QCOMPARE(field->text(), u"otpauth://totp/x"_s);

        field->clear();
        QVERIFY(panel.addFlows().quickError()); // emptying the field keeps the error
        QTest::keyClicks(field, u"gezd gnbv gy3t qojq"_s);
        QVERIFY(!panel.addFlows().quickError());
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(m_store->accounts().size(), 1);
        QCOMPARE(m_store->accounts().first().name, u"验证码"_s);
        QVERIFY(field->text().isEmpty());
        QVERIFY(!field->isVisible());

        panel.addFlows().setQuickError(u"first"_s);
        m_clock.advance(2);
        panel.addFlows().setQuickError(u"first"_s); // the same text does not restart the 3 seconds
        m_clock.advance(1);
        QVERIFY(!panel.addFlows().quickError());

        panel.addFlows().setQuickError(u"first"_s);
        m_clock.advance(2);
        panel.addFlows().setQuickError(u"second"_s); // a different text gets its own 3 seconds
        m_clock.advance(2.5);
        QCOMPARE(panel.addFlows().quickError(), u"second"_s);
        m_clock.advance(0.5);
        QVERIFY(!panel.addFlows().quickError());
    }

    void pasteAndAddClearsClipboard()
    {
        ContentView &panel = view(0);
        m_view->addFlows().pasteAndAdd();
        QCOMPARE(panel.addFlows().quickError(), AddFlows::noClipboardTextError());

        QApplication::clipboard()->setText(u"not a secret"_s);
        QTest::mouseClick(panel.header()->pasteButton(), Qt::LeftButton);
        QCOMPARE(panel.addFlows().quickError(), AddFlows::invalidSecretError());
        QCOMPARE(QApplication::clipboard()->text(), u"not a secret"_s);

        QApplication::clipboard()->setText(rfcSecret);
        m_view->addFlows().pasteAndAdd();
        QCOMPARE(m_store->accounts().size(), 1);
        QVERIFY(emptied());
        // The same secret again adds nothing but still leaves the clipboard clean.
        QApplication::clipboard()->setText(rfcSecret.toLower());
        m_view->addFlows().pasteAndAdd();
        QCOMPARE(m_store->accounts().size(), 1);
        QVERIFY(emptied());
    }

    void linkPastedIntoTheSheetLeavesTheClipboard_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("emptied");
        const QString link = u"otpauth://totp/GitHub:alice@example.com?secret="_s + rfcSecret;
        QTest::newRow("the pasted link") << link << true;
        QTest::newRow("the link with a line end") << link + u"\n"_s << true;
        QTest::newRow("someone else's text") << u"note"_s << false;
    }

    // Added from the sheet, a pasted link (secret included) leaves the clipboard as a pasted secret does.
    void linkPastedIntoTheSheetLeavesTheClipboard()
    {
        QFETCH(QString, clipboard);
        ContentView &panel = view(0);
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QCOMPARE(QApplication::focusWidget(), panel.addFlows().quickEntry()->field());
        QTest::mouseClick(panel.header()->addButton(), Qt::LeftButton);
        auto *sheet = qobject_cast<AddTokenView *>(panel.sheets().presentedSheet());
        QVERIFY(sheet);
        QApplication::clipboard()->setText(u"otpauth://totp/GitHub:alice@example.com?secret="_s + rfcSecret);
        QTest::keyClick(sheet->linkField(), Qt::Key_V, Qt::ControlModifier);
        QApplication::clipboard()->setText(clipboard);
        QTest::keyClick(sheet, Qt::Key_Return);
        QCOMPARE(m_store->accounts().size(), 1);
        QTEST(emptied(), "emptied");
        // The quick entry that had the keys is gone with the empty list: the rows take them.
        QTRY_COMPARE(QApplication::focusWidget(), panel.list());
    }

    void sheetGivesTheKeysBackWithItsRing_data()
    {
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("opened with the mouse: no ring") << false;
        QTest::newRow("opened with the keys: the ring stays") << true;
    }

    // Collapsed, the panel gives the keys back to "+": it shows the ring only when the keys
    // brought the person there.
    void sheetGivesTheKeysBackWithItsRing()
    {
        QFETCH(bool, byKeys);
        ContentView &panel = view(1);
        CircleButton *add = panel.header()->addButton();
        const QImage plain = add->grab().toImage();
        panel.setCollapsed(true);
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        if (byKeys) {
            panel.header()->pasteButton()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(panel.header()->pasteButton(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), add);
            QTest::keyClick(add, Qt::Key_Space);
        } else {
            QTest::mouseClick(add, Qt::LeftButton);
        }
        QDialog *sheet = panel.sheets().presentedSheet();
        QVERIFY(sheet);
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QTest::keyClick(sheet, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), add);
        QCOMPARE(add->grab().toImage() != plain, byKeys);
    }

    void qrImageOpensTheFilledSheet_data()
    {
        QTest::addColumn<QString>("content"); // empty: an image without a code
        QTest::addColumn<bool>("dropped"); // as a file on the panel, else pasted
        QTest::addColumn<QString>("error");
        const QString link = u"otpauth://totp/GitHub:alice@example.com?secret="_s + rfcSecret;
        QTest::newRow("dropped link") << link << true << QString();
        QTest::newRow("pasted link") << link << false << QString();
        QTest::newRow("pasted image without code") << QString() << false << u"图片中没有找到二维码。"_s;
        QTest::newRow("dropped web address")
            << u"https://example.org"_s << true << TransferError(TransferError::Kind::notAnAccountCode).description();
    }

    void qrImageOpensTheFilledSheet()
    {
        QFETCH(QString, content);
        QFETCH(bool, dropped);
        QFETCH(QString, error);
        ContentView &panel = view(0);
        QImage image = content.isEmpty() ? QImage(300, 300, QImage::Format_RGB32) : qrImage(content, 4);
        if (content.isEmpty())
            image.fill(Qt::white);
        QTemporaryDir dir;
        if (dropped) {
            const QString path = dir.filePath(u"code.png"_s);
            QVERIFY(image.save(path));
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&panel, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&panel, &drop);
        } else {
            QApplication::clipboard()->setImage(image);
            m_view->addFlows().pasteAndAdd();
        }
        auto *sheet = qobject_cast<AddTokenView *>(panel.sheets().presentedSheet());
        QVERIFY(sheet);
        QCOMPARE(sheet->errorMessage().value_or(QString()), error);
        QCOMPARE(sheet->nameField()->text(), error.isEmpty() ? u"alice@example.com"_s : QString());
        QTest::keyClick(sheet, Qt::Key_Return);
        QCOMPARE(m_store->accounts().size(), error.isEmpty() ? 1 : 0);
        if (!dropped) // the added code's image leaves the clipboard
            QCOMPARE(QApplication::clipboard()->image().isNull(), error.isEmpty());
    }

    // The dragged row ends immediately above the row it is dropped on, from either side.
    void dropOnARow_data()
    {
        QTest::addColumn<QString>("payload"); // %1: the id of the dragged row
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("onto");
        QTest::addColumn<QString>("order");
        QTest::newRow("plain text") << u"hello"_s << 0 << 2 << u"012"_s;
        QTest::newRow("braced uuid") << u"{%1}"_s << 2 << 0 << u"012"_s;
        QTest::newRow("0 onto 1") << u"%1"_s << 0 << 1 << u"012"_s;
        QTest::newRow("0 onto 2") << u"%1"_s << 0 << 2 << u"102"_s;
        QTest::newRow("1 onto 2") << u"%1"_s << 1 << 2 << u"012"_s;
        QTest::newRow("2 onto 0") << u"%1"_s << 2 << 0 << u"201"_s;
        QTest::newRow("2 onto 1") << u"%1"_s << 2 << 1 << u"021"_s;
        QTest::newRow("onto itself") << u"%1"_s << 1 << 1 << u"012"_s;
    }

    void dropOnARow()
    {
        QFETCH(QString, payload);
        QFETCH(int, from);
        QFETCH(int, onto);
        view(3);
        QMimeData data;
        data.setText(payload.contains(u'%') ? payload.arg(m_store->accounts().at(from).idText()) : payload);
        QDragEnterEvent enter(QPoint(10, 10), Qt::MoveAction, &data, Qt::LeftButton, {});
        QDropEvent drop(QPointF(10, 10), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(row(onto), &enter); // the drop then goes where the drag was taken
        QApplication::sendEvent(row(onto), &drop);
        QCOMPARE(drop.isAccepted(), payload == u"%1"_s);
        QTEST(order(), "order");
    }

    // The countdown bars take the accent of the scheme the desktop switches to.
    void barsFollowTheScheme()
    {
        view(1);
        const QPalette light = QApplication::palette();
        const auto barColor = [this] { return row(0)->findChild<TokenProgressView *>()->color(); };
        QCOMPARE(barColor(), Palette::accentColor(false));
        QApplication::setPalette(darkPalette());
        QTRY_COMPARE(barColor(), Palette::accentColor(true));
        QApplication::setPalette(light);
        QTRY_COMPARE(barColor(), Palette::accentColor(false));
    }

    void opacityPopoverWritesSettings()
    {
        ContentView &panel = view(1);
        QTest::mouseClick(panel.header()->opacityButton(), Qt::LeftButton);
        OpacityPopover *popover = panel.header()->opacityPopover();
        QVERIFY(popover);
        QTest::mouseClick(popover->levelButtons().at(2), Qt::LeftButton);
        QCOMPARE(m_store->preferences().panelOpacity(), 1.0);
        QCOMPARE(m_fx.settings.reopen()->value(u"totp.panelOpacity"_s).toDouble(), 1.0);
        QTRY_VERIFY(!panel.header()->opacityPopover());
    }

    void contextMenuDisablesMovesAtTheEnds()
    {
        view(3);
        const auto enabled = [this](int index, const QString &text) {
            QMenu *menu = row(index)->showContextMenu({});
            const auto actions = menu->actions();
            const bool result = (*std::ranges::find(actions, text, &QAction::text))->isEnabled();
            menu->close();
            return result;
        };
        QVERIFY(!enabled(0, u"上移"_s));
        QVERIFY(enabled(0, u"下移"_s));
        QVERIFY(enabled(1, u"上移"_s));
        QVERIFY(!enabled(2, u"下移"_s));

        row(0)->showContextMenu({})->actions().at(5)->trigger(); // 下移
        QCOMPARE(m_store->accounts().at(1).name, u"account 0"_s);
    }

    void rowKeys_data()
    {
        QTest::addColumn<QTestEventList>("keys");
        QTest::addColumn<QString>("current"); // the number of the account the keys now act on
        QTest::addColumn<QString>("order"); // the accounts' numbers in list order
        QTest::addColumn<int>("copied"); // the row whose code is on the clipboard
        QTest::addColumn<QString>("pending");
        QTest::addColumn<QString>("renaming");
        QTest::addColumn<int>("menu"); // the row whose context menu is open
        // Typed text first, then the presses.
        const auto row = [](const char *tag, const QString &typed, std::initializer_list<QKeyCombination> presses,
                            const QString &current, const QString &order = u"012"_s, int copied = -1,
                            const QString &pending = {}, const QString &renaming = {}, int menu = -1) {
            QTestEventList keys;
            keys.addKeyClicks(typed);
            for (const QKeyCombination press : presses)
                keys.addKeyClick(press.key(), press.keyboardModifiers());
            QTest::newRow(tag) << keys << current << order << copied << pending << renaming << menu;
        };
        row("Down", {}, {Qt::Key_Down}, u"1"_s);
        row("Up stays on top", {}, {Qt::Key_Up}, u"0"_s);
        row("Down, Return copies", {}, {Qt::Key_Down, Qt::Key_Return}, u"1"_s, u"012"_s, 1);
        row("Ctrl+C copies", {}, {Qt::ControlModifier | Qt::Key_C}, u"0"_s, u"012"_s, 0);
        row("Delete, next row", {}, {Qt::Key_Down, Qt::Key_Delete}, u"2"_s, u"02"_s, -1, u"1"_s);
        row("F2 renames", {}, {Qt::Key_F2}, u"0"_s, u"012"_s, -1, {}, u"0"_s);
        row("Ctrl+Down moves", {}, {Qt::ControlModifier | Qt::Key_Down}, u"0"_s, u"102"_s);
        row("Menu key", {}, {Qt::Key_Menu}, u"0"_s, u"012"_s, -1, {}, {}, 0);
        row("Down, Shift+F10", {}, {Qt::Key_Down, Qt::ShiftModifier | Qt::Key_F10}, u"1"_s, u"012"_s, -1, {}, {}, 1);
        row("typed name", u"t 2"_s, {}, u"2"_s);
        row("typed issuer, any case", u"ACME"_s, {Qt::Key_Down}, u"1"_s);
        row("Backspace widens", u"2"_s, {Qt::Key_Backspace}, u"2"_s);
        row("no match, Return", u"zz"_s, {Qt::Key_Return}, {});
    }

    // The keys reach the list from the header as they would after Tab.
    void rowKeys()
    {
        QFETCH(QTestEventList, keys);
        QFETCH(int, copied);
        QFETCH(QString, renaming);
        QFETCH(int, menu);
        ContentView &panel = view(3);
        QList<QString> codes;
        for (const TokenAccount &account : m_store->accounts())
            codes << m_store->codes().value(account.id);
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        panel.header()->quitButton()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(panel.header()->quitButton(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), panel.list());
        keys.simulate(panel.list());

        const auto shown = panel.list()->filter().current();
        QTEST(shown ? shown->name.right(1) : QString(), "current");
        if (shown && renaming.isEmpty()) // a sheet has the focus meanwhile
            QVERIFY(panel.list()->rowFor(shown->id)->hasFocusRing());
        QTEST(order(), "order");
        QCOMPARE(QApplication::clipboard()->text(), copied < 0 ? QString() : codes.at(copied));
        QTEST(m_store->pendingDeletion() ? m_store->pendingDeletion()->account.name.right(1) : QString(), "pending");
        QCOMPARE(panel.sheets().editingAccount() ? panel.sheets().editingAccount()->name.right(1) : QString(),
                 renaming);
        QList<QMenu *> menus = panel.findChildren<QMenu *>();
        menus.removeIf([](const QMenu *shown) { return !shown->isVisible(); });
        QCOMPARE(menus.size(), menu < 0 ? 0 : 1);
        if (menu >= 0) {
            QCOMPARE(qobject_cast<TokenRow *>(menus.first()->parent())->account(), m_store->accounts().at(menu));
            menus.first()->close();
        }
        const bool filtered = !panel.list()->filter().term().isEmpty();
        QCOMPARE(panel.header()->filterLabel()->isVisibleTo(panel.header()), filtered);
        QCOMPARE(panel.clearFilter(), filtered);
        QCOMPARE(panel.list()->filter().current().has_value(), !m_store->accounts().isEmpty());
    }
};

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
