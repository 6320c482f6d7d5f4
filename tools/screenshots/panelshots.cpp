// Not a test: renders the panel in each of its layout states, light and dark, over a
// sample desktop, for screenshots. "panelshots OUTPUT_DIR [CATALOGUE]": with a compiled
// catalogue (build/test/src/app/corvane_en.qm), in its language.
#include "store/TokenStore.h"
#include "support/DarkPalette.h"
#include "support/MemoryKeychain.h"
#include "support/TempSettings.h"
#include "ui/AddFlows.h"
#include "ui/CodeClipboard.h"
#include "ui/CodeCopier.h"
#include "ui/ContentView.h"
#include "ui/TokenListView.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>
#include <QTranslator>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

const ImportedToken samples[] = {
    {u"alice@example.com"_s, u"GitHub"_s, u"JBSWY3DPEHPK3PXP"_s, 30, 6},
    {u"alice@example.com"_s, u"Google"_s, u"GEZDGNBVGY3TQOJQ"_s, 30, 6},
    {u"ops-admin"_s, u"AWS"_s, u"MFRGGZDFMZTWQ2LK"_s, 30, 6},
    {u"alice"_s, u""_s, u"ONSWG4TFOQQGC3TE"_s, 30, 6},
};

QImage onDesktop(const QImage &panel)
{
    QImage shot(panel.width() + 40, panel.height() + 40, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&shot);
    QLinearGradient desktop(0, 0, shot.width(), shot.height());
    desktop.setColorAt(0, QColor(64, 110, 160));
    desktop.setColorAt(1, QColor(190, 140, 110));
    painter.fillRect(shot.rect(), desktop);
    painter.drawImage(20, 20, panel);
    return shot;
}

struct State
{
    QString name;
    int accounts;
    std::function<void(TokenStore &, ContentView &)> prepare;
};

void render(const State &state, bool dark, const QDir &out)
{
    TempSettings settings;
    MemoryKeychain keychain;
    TokenStore store(keychain, settings.settings(), [] { return 1700000012.0; });
    for (int i = 0; i < state.accounts; ++i) {
        ImportedToken token = samples[i % 4];
        token.secret += QString(16, QChar(char16_t(u'A' + i)));
        token.name = i < 4 ? token.name : u"account %1"_s.arg(i + 1);
        store.add(token, [](const auto &) {}); // the in-memory keychain answers at once
    }
    CodeClipboard clipboard(QApplication::clipboard());
    ContentView view(store, clipboard, [] { return 1700000012.0; });
    view.setAttribute(Qt::WA_TranslucentBackground);
    view.setPalette(dark ? darkPalette() : QPalette());
    view.resize(326, view.panelHeight());
    view.show();
    QApplication::processEvents();
    state.prepare(store, view);
    QApplication::processEvents();
    view.resize(326, view.panelHeight());
    QApplication::processEvents();
    const QString file = u"%1-%2.png"_s.arg(state.name, dark ? u"dark"_s : u"light"_s);
    onDesktop(view.grab().toImage()).save(out.filePath(file));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir out(app.arguments().value(1, u"."_s));
    QTranslator catalogue;
    if (app.arguments().size() > 2 && (!catalogue.load(app.arguments().at(2)) || !app.installTranslator(&catalogue)))
        return 1;
    const auto nothing = [](TokenStore &, ContentView &) {};
    const auto addCounting = [](TokenStore &store, ContentView &) {
        store.add({u"vpn"_s, u"Corp"_s, u"JBSWY3DPEHPK3PXP"_s, {.kind = OtpKind::Hotp, .counter = 9}},
                  [](const auto &) {});
    };
    const State states[] = {
        {u"empty"_s, 0, nothing},
        {u"empty-error"_s, 0,
         [](TokenStore &, ContentView &view) { view.addFlows().setQuickError(AddFlows::invalidSecretError()); }},
        {u"one-row"_s, 1, nothing},
        {u"three-rows"_s, 3, nothing},
        {u"ten-rows-scrolled"_s, 10,
         [](TokenStore &, ContentView &view) { view.list()->verticalScrollBar()->setValue(70 * 4 + 30); }},
        {u"undo-bar"_s, 4, [](TokenStore &store, ContentView &) { store.requestDelete(store.accounts().at(1)); }},
        {u"collapsed"_s, 3, [](TokenStore &, ContentView &view) { view.setCollapsed(true); }},
        {u"copied"_s, 3, [](TokenStore &, ContentView &view) { view.copyShownRow(0); }},
        {u"counter"_s, 2, addCounting},
        {u"counter-shown"_s, 2,
         [&](TokenStore &store, ContentView &view) {
             addCounting(store, view);
             view.copyShownRow(2);
         }},
    };
    for (const bool dark : {false, true})
        for (const State &state : states)
            render(state, dark, out);
    return 0;
}
