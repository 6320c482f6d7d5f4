// Fills the keyring and a settings file with accounts for the start-up measurements,
// or takes them out again.
//   bench_startup_seed SETTINGS-FILE COUNT     adds COUNT accounts with random secrets
//   bench_startup_seed SETTINGS-FILE --remove  removes the listed accounts' secrets
#include "OneByOne.h"
#include "store/SecretServiceKeychain.h"
#include "store/TokenAccount.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSettings>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString accountsKey = u"totp.accounts"_s;

QString randomSecret()
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    QString secret;
    for (int i = 0; i < 32; ++i)
        secret += QLatin1Char(alphabet[QRandomGenerator::system()->bounded(32)]);
    return secret;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: bench_startup_seed SETTINGS-FILE COUNT|--remove\n", stderr);
        return 2;
    }
    QSettings settings(arguments.at(1), QSettings::IniFormat);
    SecretServiceKeychain keychain;

    if (arguments.at(2) == u"--remove") {
        const auto accounts = TokenAccount::decodeList(settings.value(accountsKey).toByteArray());
        removeAll(keychain, accounts.value_or(QList<TokenAccount>{}));
        settings.remove(accountsKey);
        return 0;
    }

    const int count = arguments.at(2).toInt();
    QList<TokenAccount> accounts;
    for (int i = 0; i < count; ++i)
        accounts.append({QUuid::createUuid(), u"Account %1"_s.arg(i + 1), u"bench"_s, 30, 6});
    if (!saveAll(keychain, accounts, [](const TokenAccount &) { return randomSecret(); })) {
        std::fputs("bench_startup_seed: the keychain refused a secret\n", stderr);
        return 1;
    }
    settings.setValue(accountsKey, TokenAccount::encodeList(accounts));
    settings.sync();
    return settings.status() == QSettings::NoError ? 0 : 1;
}
