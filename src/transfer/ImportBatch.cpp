#include "transfer/ImportBatch.h"

#include "engine/TOTPGenerator.h"

#include <QCoreApplication>
#include <QSet>

using namespace Qt::Literals::StringLiterals;

QString ImportBatch::label(const QString &name, const QString &issuer)
{
    if (issuer.isEmpty())
        return name;
    return name.isEmpty() ? issuer : QCoreApplication::translate("ImportBatch", "%1（%2）").arg(issuer, name);
}

void ImportBatch::offer(const ImportedToken &token, const QString &label)
{
    if (TOTPGenerator::code(TOTPGenerator::normalize(token.secret), 0, token.otp))
        tokens.append(token);
    else
        refused.append({label, QCoreApplication::translate("ImportBatch", "密钥或参数无效。")});
}

void ImportBatch::setAsidePresent(const QList<ImportedToken> &listed)
{
    // A counter-based and a time-based account with one secret are two accounts.
    const auto keyOf = [](const ImportedToken &token) {
        return std::pair(token.otp.isHotp(), TOTPGenerator::normalize(token.secret));
    };
    QSet<std::pair<bool, QString>> secrets;
    for (const ImportedToken &token : listed)
        secrets.insert(keyOf(token));
    QList<ImportedToken> fresh;
    for (const ImportedToken &token : std::as_const(tokens)) {
        const auto secret = keyOf(token);
        (secrets.contains(secret) ? present : fresh).append(token);
        secrets.insert(secret);
    }
    tokens = std::move(fresh);
}
