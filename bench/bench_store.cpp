// Token store figures: a refresh tick that changes nothing with 1,000 accounts, and
// start-up against the real Secret Service with 500 accounts versus 5.
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

// Every secret answers from memory, so the tick measures the store alone.
class FixedKeychain : public KeychainStore
{
public:
    std::expected<void, KeychainError> save(const QString &, const QUuid &) override { return {}; }
    std::optional<QString> load(const QUuid &) override { return secret; }
    void remove(const QUuid &) override {}
    QHash<QUuid, QString> loadAll() override { return {}; }
};

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
    FixedKeychain keychain;
    Settings settings(makeAccounts(int(state.range(0))));
    TokenStore store(keychain, settings.settings, [] { return 1000.0; });
    double now = 1000.0;
    for (auto _ : state) {
        now += 1e-6; // the same 30-second step throughout
        store.refreshCodes(now);
    }
}
BENCHMARK(refreshTickWithNoChange)->Arg(1000)->Unit(benchmark::kMicrosecond);

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
        benchmark::DoNotOptimize(store.codes().size());
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    for (const TokenAccount &account : accounts)
        keychain.remove(account.id);
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
