// Not a test: renders the sheets to PNGs, for screenshots.
// "sheetbook [--dark] OUTPUT_DIR [CATALOGUE]" writes
// sheets-{add,add-error,rename,rename-hotp,restore,backup-error}-{light,dark}.png, and
// sheets-over-panel-{light,dark}.png: the whole screen with the add sheet over the panel.
// With a compiled catalogue (build/test/src/app/corvane_en.qm), in its language.
#include "store/TokenStore.h"
#include "support/DarkPalette.h"
#include "support/MemoryKeychain.h"
#include "support/TempSettings.h"
#include "ui/AccentButton.h"
#include "ui/AddTokenView.h"
#include "ui/BackupRestoreSheet.h"
#include "ui/BackupSetupSheet.h"
#include "ui/CodeClipboard.h"
#include "ui/ContentView.h"
#include "ui/EditTokenView.h"
#include "ui/SheetPresenter.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace {

// A resize of a shown window lands once the window manager has answered.
void settle()
{
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

void save(QDialog &sheet, const QString &path)
{
    sheet.show();
    settle();
    sheet.grab().save(path);
    sheet.hide();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool dark = args.removeAll(u"--dark"_s) > 0;
    const QString dir = args.value(0, u"."_s);
    QTranslator catalogue;
    if (args.size() > 1 && (!catalogue.load(args.at(1)) || !app.installTranslator(&catalogue)))
        return 1;
    if (dark)
        QApplication::setPalette(darkPalette());
    const QString scheme = dark ? u"dark"_s : u"light"_s;

    TempSettings settings;
    MemoryKeychain keychain;
    TokenStore store(keychain, settings.settings(), [] { return 1700000000.0; });
    store.add({u"alice@example.com"_s, u"GitHub"_s, u"JBSWY3DPEHPK3PXP"_s, 30, 6}, [](const auto &) {});

    AddTokenView empty(store);
    save(empty, u"%1/sheets-add-%2.png"_s.arg(dir, scheme));

    AddTokenView failed(store);
    failed.nameField()->setText(u"bob@example.com"_s);
    failed.issuerField()->setText(u"Gitea"_s);
    failed.secretField()->setText(u"not base32!"_s);
    failed.show();
    failed.primaryButton()->click();
    save(failed, u"%1/sheets-add-error-%2.png"_s.arg(dir, scheme));

    EditTokenView rename(store, store.accounts().first());
    save(rename, u"%1/sheets-rename-%2.png"_s.arg(dir, scheme));
    TokenAccount counting = store.accounts().first();
    counting.otp = {.kind = OtpKind::Hotp, .counter = 42};
    EditTokenView renameCounting(store, counting);
    save(renameCounting, u"%1/sheets-rename-hotp-%2.png"_s.arg(dir, scheme));

    using Item = BackupRestoreSheet::Item;
    const QDateTime time(QDate(2026, 12, 7), QTime(21, 45));
    BackupRestoreSheet restore;
    restore.setItems({{u"vm #3f2a"_s, true, time, Item::State::opened, 0},
                      {u"vm #3f2a"_s, true, time.addDays(-1), Item::State::opened, 17},
                      {u"vm #91c0"_s, false, time.addDays(-2), Item::State::needsPassword},
                      {u"laptop"_s, false, time.addDays(-30), Item::State::unreadable}});
    save(restore, u"%1/sheets-restore-%2.png"_s.arg(dir, scheme));

    BackupSetupSheet setUp({.folder = u"/home/alice/Sync/Corvane"_s});
    setUp.passwordField()->setText(u"correct horse"_s);
    setUp.repeatField()->setText(u"correct horse"_s);
    setUp.show();
    setUp.setUpFinished(
        std::unexpected(QCoreApplication::translate("AutoBackup", "密码与文件夹中另一台电脑的备份不同。")));
    save(setUp, u"%1/sheets-backup-error-%2.png"_s.arg(dir, scheme));

    CodeClipboard clipboard(QApplication::clipboard());
    ContentView panel(store, clipboard, [] { return 1700000000.0; });
    panel.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    panel.resize(330, panel.panelHeight());
    panel.move(400, 120);
    panel.show();
    settle();
    panel.sheets().setShowingAdd(true);
    settle();
    QGuiApplication::primaryScreen()->grabWindow(0).save(u"%1/sheets-over-panel-%2.png"_s.arg(dir, scheme));
    return 0;
}
