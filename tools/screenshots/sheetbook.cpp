// Not a test: renders the add and rename sheets to PNGs, for screenshots.
// "sheetbook [--dark] OUTPUT_DIR" writes sheets-{add,add-error,rename}-{light,dark}.png, and
// sheets-over-panel-{light,dark}.png: the whole screen with the add sheet over the panel.
#include "store/TokenStore.h"
#include "support/DarkPalette.h"
#include "support/MemoryKeychain.h"
#include "support/TempSettings.h"
#include "ui/AccentButton.h"
#include "ui/AddTokenView.h"
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
    const QStringList args = app.arguments();
    const bool dark = args.contains(u"--dark"_s);
    const QString dir = args.last();
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
