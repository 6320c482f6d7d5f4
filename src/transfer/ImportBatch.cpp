#include "transfer/ImportBatch.h"

#include "engine/TOTPGenerator.h"

using namespace Qt::Literals::StringLiterals;

QString ImportBatch::label(const QString &name, const QString &issuer)
{
    if (issuer.isEmpty())
        return name;
    return name.isEmpty() ? issuer : u"%1 (%2)"_s.arg(issuer, name);
}

void ImportBatch::offer(const ImportedToken &token, const QString &label)
{
    if (TOTPGenerator::code(TOTPGenerator::normalize(token.secret), 0, token.period, token.digits, token.algorithm,
                            token.steam))
        tokens.append(token);
    else
        refused.append({label, u"密钥或参数无效"_s});
}
