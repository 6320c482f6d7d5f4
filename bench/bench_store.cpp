// Token store figures: a refresh tick that changes nothing with 1,000 accounts, and
// start-up against the real Secret Service with 500 accounts versus 5.
#include "SecretServiceKeychain.h"
#include "TokenStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

// Construction reads the secrets of every listed account from the real keyring.
void constructionWithKeyring(benchmark::State &state)
{
    SecretServiceKeychain keychain;
    const QList<TokenAccount> accounts = makeAccounts(int(state.range(0)));
    for (const TokenAccount &account : accounts) {
        if (!keychain.save(secret, account.id))
            state.SkipWithError("no Secret Service");
    }
    Settings settings(accounts);
    for (auto _ : state) {
        TokenStore store(keychain, settings.settings, [] { return 1000.0; });
        benchmark::DoNotOptimize(store.codes().size());
    }
    for (const TokenAccount &account : accounts)
        keychain.remove(account.id);
}
BENCHMARK(constructionWithKeyring)->Arg(5)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
