// Token store figures: a refresh tick that changes nothing and a paste-add, each with 1,000
// accounts, and start-up against the real Secret Service with 500 accounts versus 5.
#include "store/SecretServiceKeychain.h"
#include "store/TokenStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString secret = u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s;

QList<TokenAccount> makeAccounts(int count)
{
    QList<TokenAccount> accounts;
    for (int i = 0; i < count; ++i)
        accounts.append({QUuid::createUuid(), u"account %1"_s.arg(i), u"bench"_s, 30, 6});
    return accounts;
}

// Every secret answers from memory at once, so the figures measure the store alone.
class FixedKeychain : public KeychainStore
{
public:
    explicit FixedKeychain(const QList<TokenAccount> &accounts)
    {
        for (const TokenAccount &account : accounts)
            m_secrets.insert(account.id, secret);
    }
    std::expected<void, KeychainError> save(const QString &, const QUuid &) override { return {}; }
    void remove(const QUuid &, std::function<void(bool)> done) override
    {
        if (done)
            done(true);
    }
    void readAll(std::function<void(ReadResult)> done) override
    {
        setStatus(Status::Available);
        done(m_secrets);
    }
    void unlock() override {}

private:
    Secrets m_secrets;
};

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

// One paste-add of a new secret with 1,000 accounts listed: the duplicate check, the save
// of the whole list and the new code, all on the event loop (target < 30 ms).
void pasteAddWithManyAccounts(benchmark::State &state)
{
    const QList<TokenAccount> accounts = makeAccounts(int(state.range(0)));
    FixedKeychain keychain(accounts);
    Settings settings(accounts);
    TokenStore store(keychain, settings.settings, [] { return 1000.0; });
    const QString other = u"JBSWY3DPEHPK3PXPJBSWY3DPEHPK3PXP"_s;
    for (auto _ : state) {
        if (!store.quickAdd(other))
            state.SkipWithError("the add failed");
        state.PauseTiming();
        store.requestDelete(store.accounts().last());
        store.finalizePendingDeletion();
        state.ResumeTiming();
    }
}
BENCHMARK(pasteAddWithManyAccounts)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(20);

// Median milliseconds to construct a store listing `count` accounts whose secrets are in
// the real keyring: construction reads every secret for the first codes.
double constructionMs(SecretServiceKeychain &keychain, int count)
{
    const QList<TokenAccount> accounts = makeAccounts(count);
    for (const TokenAccount &account : accounts) {
        if (!keychain.save(secret, account.id))
            qFatal("no Secret Service");
    }
    Settings settings(accounts);
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        TokenStore store(keychain, settings.settings, [] { return 1000.0; });
        store.awaitKeychain(std::chrono::seconds(30));
        benchmark::DoNotOptimize(store.codes().size());
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    for (const TokenAccount &account : accounts) { // one at a time, as the app deletes
        bool done = false;
        keychain.remove(account.id, [&](bool) { done = true; });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void reportConstruction()
{
    SecretServiceKeychain keychain;
    const double few = constructionMs(keychain, 5);
    const double many = constructionMs(keychain, 500);
    std::printf("store start-up: 500 accounts %.1f ms, 5 accounts %.1f ms, ratio %.1f (target <= 3)\n", many, few,
                many / few);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    reportConstruction();
    benchmark::Shutdown();
    return 0;
}
