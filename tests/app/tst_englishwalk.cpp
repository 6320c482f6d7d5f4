// Corvane under an English desktop: every window, sheet, dialog and menu the app opens is
// walked, and no text a person can see or hear (text, tooltip, placeholder, accessible name
// or description, window title, action) may be Chinese.
#include "app/CorvaneApp.h"
#include "app/InteractiveFloatingPanel.h"
#include "app/QtTranslation.h"
#include "support/MemoryKeychain.h"
#include "support/TempSettings.h"
#include "ui/AccentButton.h"
#include "ui/AddFlows.h"
#include "ui/AddTokenView.h"
#include "ui/CircleButton.h"
#include "ui/ContentView.h"
#include "ui/KeychainStatusView.h"
#include "ui/PanelHeader.h"
#include "ui/PasswordDialog.h"
#include "ui/SheetPresenter.h"
#include "ui/TokenListView.h"
#include "ui/TokenRow.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isChinese(const QString &text)
{
    static const QRegularExpression cjk(
        u"[\\x{3000}-\\x{303F}\\x{3400}-\\x{9FFF}\\x{F900}-\\x{FAFF}\\x{FF00}-\\x{FFEF}]"_s);
    return text.contains(cjk);
}

void actionTexts(const QList<QAction *> &actions, QStringList &texts)
{
    for (const QAction *action : actions) {
        texts << action->text() << action->toolTip() << action->statusTip();
        if (action->menu())
            actionTexts(action->menu()->actions(), texts);
    }
}

QStringList texts(const QWidget *widget)
{
    QStringList texts{widget->windowTitle(), widget->toolTip(),        widget->statusTip(),
                      widget->whatsThis(),   widget->accessibleName(), widget->accessibleDescription()};
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        texts << label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        texts << button->text();
    if (const auto *field = qobject_cast<const QLineEdit *>(widget))
        texts << field->placeholderText();
    if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(widget))
        texts << spin->text() << spin->specialValueText();
    if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    }
    actionTexts(widget->actions(), texts);
    return texts;
}

} // namespace

class TestEnglishWalk : public QObject
{
    Q_OBJECT

public:
    // Every window as it shows is read, and then answered: by the step's answer for its
    // kind, else closed, so that a modal loop returns.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && window && window->isWindow()) {
            QTimer::singleShot(0, window, [this, window] {
                read(window);
                ++m_windowsShown;
                const auto answer = std::find_if(m_answers.begin(), m_answers.end(),
                                                 [window](const Answer &a) { return window->inherits(a.kind); });
                if (answer != m_answers.end())
                    answer->act(window);
                else if (window != m_app->delegate().panel())
                    window->close();
            });
        }
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(
            QtTranslation::install(*qApp, QtTranslation::Language::english, {QStringLiteral(CORVANE_CATALOGUE_DIR)}));
        qApp->installEventFilter(this);
        m_app = std::make_unique<CorvaneApp>(m_keychain, m_settings.settings());
        m_app->delegate().transferCommands().setKeyProgram(QStringLiteral(CORVANE_BINARY));
        QTRY_VERIFY(!panel()->actions().isEmpty()); // the menus are built after the first frame
    }

    void cleanup()
    {
        const QStringList chinese = std::exchange(m_chinese, {});
        QVERIFY2(chinese.isEmpty(), qPrintable(chinese.join(u'\n')));
    }

    void emptyPanelAndItsErrors()
    {
        read(panel());
        for (const QString &pasted : {QString(), u"not a secret"_s}) {
            QApplication::clipboard()->setText(pasted);
            content()->addFlows().pasteAndAdd();
            read(panel());
        }
    }

    // With accounts: the panel, collapsed, with a deletion to undo; its menus; the rename sheet.
    void panelWithAccounts()
    {
        addAccounts();
        read(panel());
        content()->setCollapsed(true);
        read(panel());
        content()->setCollapsed(false);
        m_app->delegate().store().requestDelete(m_app->delegate().store().accounts().at(2));
        read(panel());
        m_app->delegate().store().undoDelete();
        const int shown = m_windowsShown;
        content()->header()->showTitleMenu(QPoint(10, 10));
        content()->list()->findChild<TokenRow *>()->showContextMenu(QPoint(10, 10));
        content()->header()->opacityButton()->click();
        QTRY_COMPARE(m_windowsShown, shown + 3);
        content()->sheets().setEditingAccount(m_app->delegate().store().accounts().first());
        QTRY_VERIFY(content()->sheets().presentedSheet());
        read(content()->sheets().presentedSheet());
        content()->sheets().setEditingAccount(std::nullopt);
    }

    // A paste-add the locked keychain refused: the status line offers to unlock and add.
    void lockedKeychain()
    {
        m_keychain.state = KeychainStore::Status::Locked;
        m_keychain.saveFailure = KeychainError(u"test"_s, 1, u"locked"_s);
        content()->addFlows().addQuickSecret(u"ONSWG4TFOQQGC3TEONSWG4TF"_s);
        QVERIFY(content()->keychainStatus()->isVisibleTo(panel()));
        read(panel());
        m_keychain.state = KeychainStore::Status::Available;
        m_keychain.saveFailure.reset();
    }

    void addSheet()
    {
        content()->sheets().setShowingAdd(true);
        AddTokenView *sheet = content()->sheets().addSheet();
        QVERIFY(sheet);
        for (QToolButton *toggle : sheet->findChildren<QToolButton *>())
            toggle->click(); // the advanced section
        sheet->secretField()->setText(u"not base32!"_s);
        sheet->primaryButton()->click();
        read(sheet);
        std::unique_ptr<QMenu> menu(sheet->secretField()->createStandardContextMenu());
        read(menu.get());
        // A phone export: its accounts listed before they are added.
        sheet->linkField()->setText(
            u"otpauth-migration://offline?data=CjMKCkhlbGxvId6tvu8SGGFsaWNlQGdvb2dsZS5jb20aBkdvb2dsZSABKAEwAjgCEAEYASAA"_s);
        read(sheet);
        content()->sheets().setShowingAdd(false);
    }

    // Export through Qt's file dialog and the password dialog, then import the vault back.
    void exportAndImport()
    {
        addAccounts();
        QTemporaryDir dir;
        const QString vault = dir.filePath(u"backup.json"_s);
        m_answers = {{"QFileDialog",
                      [vault](QWidget *w) {
                          auto *dialog = static_cast<QFileDialog *>(w);
                          dialog->selectFile(vault);
                          QMetaObject::invokeMethod(dialog, "accept");
                      }},
                     {"PasswordDialog", [](QWidget *w) {
                          auto *dialog = static_cast<PasswordDialog *>(w);
                          dialog->field()->setText(u"correct horse battery"_s);
                          if (dialog->repeatField())
                              dialog->repeatField()->setText(u"correct horse battery"_s);
                          dialog->primaryButton()->click();
                      }}};
        m_app->delegate().transferCommands().exportBackup();
        QTRY_VERIFY(QFile::exists(vault));
        const int shown = m_windowsShown;
        m_app->delegate().transferCommands().importFiles({vault});
        QTRY_VERIFY(m_windowsShown >= shown + 2); // the password, then the summary
        m_answers.clear();
    }

    void importSummaryWithRefusals()
    {
        const int shown = m_windowsShown;
        m_answers = {{"ImportSummaryDialog", [](QWidget *w) { static_cast<QDialog *>(w)->accept(); }}};
        m_app->delegate().transferCommands().importFiles(
            {QFINDTESTDATA("../transfer/data/2fas_authenticator_plain_v4.2fas")});
        QTRY_VERIFY(m_windowsShown >= shown + 2); // the summary, then what was added
        m_answers.clear();
    }

    void qrCode()
    {
        addAccounts();
        const int shown = m_windowsShown;
        m_answers = {{"PanelMessageBox", [](QWidget *w) { static_cast<QDialog *>(w)->accept(); }}};
        m_app->delegate().transferCommands().showQrCode(m_app->delegate().store().accounts().first());
        QTRY_VERIFY(m_windowsShown >= shown + 2); // the warning, then the code
        m_answers.clear();
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("help") << QStringList{u"--help"_s};
        QTest::newRow("inspect without a file") << QStringList{u"--inspect"_s};
        QTest::newRow("inspect a missing file") << QStringList{u"--inspect"_s, u"/nonexistent.json"_s};
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QProcess corvane;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LANGUAGE"_s, u"en_US"_s);
        corvane.setProcessEnvironment(environment);
        corvane.start(QStringLiteral(CORVANE_BINARY), arguments);
        QVERIFY(corvane.waitForFinished());
        const QString output = QString::fromUtf8(corvane.readAllStandardOutput() + corvane.readAllStandardError());
        QVERIFY(!output.isEmpty());
        QVERIFY2(!isChinese(output), qPrintable(output));
    }

private:
    struct Answer
    {
        const char *kind;
        std::function<void(QWidget *)> act;
    };

    InteractiveFloatingPanel *panel() const { return m_app->delegate().panel(); }
    ContentView *content() const { return m_app->delegate().contentView(); }

    void addAccounts()
    {
        TokenStore &store = m_app->delegate().store();
        for (const QString &name : {u"alice@example.com"_s, u"bob"_s, u"carol"_s}) {
            if (std::none_of(store.accounts().cbegin(), store.accounts().cend(),
                             [&](const TokenAccount &a) { return a.name == name; }))
                store.add({name, u"Example"_s, u"JBSWY3DPEHPK3PXP"_s + name.toUpper().left(4), 30, 6},
                          [](const auto &) {});
        }
    }

    void read(QWidget *window)
    {
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets << window;
        for (const QWidget *widget : std::as_const(widgets)) {
            for (const QString &text : texts(widget)) {
                if (isChinese(text))
                    m_chinese << u"%1 in %2: %3"_s.arg(QString::fromLatin1(widget->metaObject()->className()),
                                                       QString::fromLatin1(window->metaObject()->className()), text);
            }
        }
    }

    TempSettings m_settings;
    MemoryKeychain m_keychain;
    std::unique_ptr<CorvaneApp> m_app;
    QList<Answer> m_answers;
    QStringList m_chinese;
    int m_windowsShown = 0;
};

QTEST_MAIN(TestEnglishWalk)
#include "tst_englishwalk.moc"
