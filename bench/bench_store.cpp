// Token store figures: a refresh tick that changes nothing with 1,000 accounts; against
// the real Secret Service, start-up with 500 accounts beside the protocol's floor, and
// how long a paste-add with 1,000 accounts keeps the event loop waiting.
#include "FixedKeychain.h"
#include "OneByOne.h"
#include "Targets.h"
#include "TimesReporter.h"
#include "engine/Clock.h"
#include "store/SecretServiceKeychain.h"
#include "store/TokenStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <gio/gio.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString secret = FixedKeychain::secret;

QList<TokenAccount> makeAccounts(int count)
{
    QList<TokenAccount> accounts;
    for (int i = 0; i < count; ++i)
        accounts.append({QUuid::createUuid(), u"account %1"_s.arg(i), u"bench"_s, 30, 6});
    return accounts;
}

struct Settings
{
    QTemporaryDir dir;
    QSettings settings{dir.filePath(u"Corvane.conf"_s), QSettings::IniFormat};

    explicit Settings(const QList<TokenAccount> &accounts)
    {
        settings.setValue(u"totp.accounts"_s, TokenAccount::encodeList(accounts));
    }
};

void refreshTickWithNoChange(benchmark::State &state)
{
    const QList<TokenAccount> accounts = makeAccounts(int(state.range(0)));
    FixedKeychain keychain(accounts);
    Settings settings(accounts);
    TokenStore store(keychain, settings.settings, [] { return 1000.0; });
    double now = 1000.0;
    for (auto _ : state) {
        now += 1e-6; // the same 30-second step throughout
        store.refreshCodes(now);
    }
}
BENCHMARK(refreshTickWithNoChange)->Arg(1000)->Unit(benchmark::kMicrosecond);

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the event loop until the store shows a code for every account it lists.
void waitForCodes(TokenStore &store)
{
    QEventLoop loop;
    QObject::connect(&store, &TokenStore::codesChanged, &loop, [&] {
        if (store.codes().size() == store.accounts().size())
            loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (store.codes().size() != store.accounts().size())
        loop.exec();
}

// Milliseconds from constructing a store listing `accounts` whose secrets are in the real
// keyring until it shows every account's code. The median of nine.
double constructionMs(SecretServiceKeychain &keychain, const QList<TokenAccount> &accounts)
{
    Settings settings(accounts);
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        TokenStore store(keychain, settings.settings, systemClock);
        waitForCodes(store);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

GVariant *callSecretService(GDBusConnection *bus, const char *path, const char *method, GVariant *arguments)
{
    g_autoptr(GError) error = nullptr;
    GVariant *reply =
        g_dbus_connection_call_sync(bus, "org.freedesktop.secrets", path, "org.freedesktop.Secret.Service", method,
                                    arguments, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
    if (!reply)
        qFatal("Secret Service %s: %s", method, error->message);
    return reply;
}

// The least any client can do to read all our secrets: one SearchItems and one
// GetSecrets over an open plain session. The median of nine, in milliseconds.
double protocolFloorMs()
{
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    const char *root = "/org/freedesktop/secrets";
    g_autoptr(GVariant) opened =
        callSecretService(bus, root, "OpenSession", g_variant_new("(sv)", "plain", g_variant_new_string("")));
    g_autoptr(GVariant) sessionValue = nullptr;
    const char *session = nullptr;
    g_variant_get(opened, "(v&o)", &sessionValue, &session);
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        GVariantBuilder attributes;
        g_variant_builder_init(&attributes, G_VARIANT_TYPE("a{ss}"));
        g_variant_builder_add(&attributes, "{ss}", "service", "com.local.Corvane");
        g_autoptr(GVariant) found = callSecretService(bus, root, "SearchItems", g_variant_new("(a{ss})", &attributes));
        g_autoptr(GVariant) unlocked = g_variant_get_child_value(found, 0);
        g_autoptr(GVariant) secrets =
            callSecretService(bus, root, "GetSecrets", g_variant_new("(@aoo)", unlocked, session));
        benchmark::DoNotOptimize(g_variant_n_children(secrets));
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// The longest the event loop stays away while a pasted secret is added to a store of
// `accounts`, in milliseconds: a 1 ms timer records its largest gap until the store
// has announced the new account and some time has passed.
double pasteAddBlockMs(SecretServiceKeychain &keychain, const QList<TokenAccount> &accounts)
{
    Settings settings(accounts);
    TokenStore store(keychain, settings.settings, systemClock);
    waitForCodes(store);
    QElapsedTimer sinceTick;
    double longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    QEventLoop loop;
    QObject::connect(&store, &TokenStore::accountsChanged, [&] { QTimer::singleShot(200, &loop, &QEventLoop::quit); });
    QTimer::singleShot(50, [&] {
        sinceTick.restart();
        tick.start(1);
        QTimer::singleShot(0, [&] {
            store.quickAdd(u"JBSWY3DPEHPK3PXPJBSWY3DPEHPK3PXP"_s, [](const auto &added) {
                if (!added)
                    qFatal("the paste-add failed");
            });
        });
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    QList<TokenAccount> added = store.accounts();
    added.removeIf([&](const TokenAccount &account) { return accounts.contains(account); });
    removeAll(keychain, added);
    return longest;
}

void saveAll(SecretServiceKeychain &keychain, const QList<TokenAccount> &accounts)
{
    if (!saveAll(keychain, accounts, [](const TokenAccount &) { return secret; }))
        qFatal("no Secret Service");
}

bool reportKeyring()
{
    SecretServiceKeychain keychain;
    const QList<TokenAccount> accounts = makeAccounts(1000);
    const QList<TokenAccount> half = accounts.first(500);
    saveAll(keychain, half);
    char floor[96];
    std::snprintf(floor, sizeof floor, "protocol floor (SearchItems + GetSecrets) %.1f ms", protocolFloorMs());
    reportInformation("store construction, 500 accounts", constructionMs(keychain, half), "ms", floor);
    saveAll(keychain, accounts.sliced(500));
    const double block = pasteAddBlockMs(keychain, accounts);
    removeAll(keychain, accounts);
    return reportFigure("paste-add event-loop block, 1000 accounts", block, "ms", 30);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const bool tick = reportFigure("refresh tick, no change, 1000 accounts",
                                   reporter.microseconds("refreshTickWithNoChange/1000"), "us", 50);
    const bool keyring = reportKeyring();
    return tick && keyring ? 0 : 1;
}
