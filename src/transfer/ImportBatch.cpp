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
    if (TOTPGenerator::code(TOTPGenerator::normalize(token.secret), 0, token.period, token.digits, token.algorithm,
                            token.steam))
        tokens.append(token);
    else
        refused.append({label, QCoreApplication::translate("ImportBatch", "密钥或参数无效。")});
}

void ImportBatch::setAsidePresent(const QList<ImportedToken> &listed)
{
    QSet<QString> secrets;
    for (const ImportedToken &token : listed)
        secrets.insert(TOTPGenerator::normalize(token.secret));
    QList<ImportedToken> fresh;
    for (const ImportedToken &token : std::as_const(tokens)) {
        const QString secret = TOTPGenerator::normalize(token.secret);
        (secrets.contains(secret) ? present : fresh).append(token);
        secrets.insert(secret);
    }
    tokens = std::move(fresh);
}
