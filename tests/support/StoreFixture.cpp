#include "support/StoreFixture.h"

using namespace Qt::Literals::StringLiterals;

void StoreFixture::reset()
{
    store.reset();
    settings.settings().clear();
    settings.settings().sync();
    keychain.reset();
    clock.now = 59;
}

TokenStore &StoreFixture::restart()
{
    store.reset();
    store = std::make_unique<TokenStore>(keychain, settings.settings(), clock.function(), clock.singleShot());
    return *store;
}

QString StoreFixture::secret(int n)
{
    return n == 0 ? rfcSecret : rfcSecret.left(28) + QChar(u'A' + n / 26) + QChar(u'A' + n % 26) + rfcSecret.right(2);
}

TokenStore &StoreFixture::storeWith(int count)
{
    reset();
    restart();
    for (int i = 0; i < count; ++i) {
        if (!added(*store, {QString(QChar(u'A' + i)), {}, secret(i), 30, 6}))
            qFatal("cannot add account %d", i);
    }
    return *store;
}

TokenAccount StoreFixture::account(const QString &name) const
{
    for (const TokenAccount &account : store->accounts()) {
        if (account.name == name)
            return account;
    }
    qFatal("no account named %s", qPrintable(name));
}

QStringList StoreFixture::storedNames() const
{
    return names(TokenAccount::decodeList(settings.reopen()->value(u"totp.accounts"_s).toByteArray()).value());
}

QStringList StoreFixture::names(const QList<TokenAccount> &accounts)
{
    QStringList result;
    for (const TokenAccount &account : accounts)
        result << account.name;
    return result;
}
