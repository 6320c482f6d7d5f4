#include "transfer/TotpField.h"

#include "engine/OTPAuthParser.h"
#include "transfer/OtpauthLinks.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString steamScheme = u"steam://"_s;

ImportedToken filledIn(ImportedToken token, const QString &name, const QString &issuer)
{
    if (token.name.isEmpty())
        token.name = name;
    if (token.issuer.isEmpty())
        token.issuer = issuer;
    return token;
}

} // namespace

namespace TotpField {

void appendTo(ImportBatch &batch, const QString &field, const QString &name, const QString &issuer)
{
    const QString text = field.trimmed();
    ImportedToken token{name, issuer, text};
    if (text.startsWith(u"otpauth:", Qt::CaseInsensitive)) {
        const auto link = OTPAuthParser::parse(text);
        token = filledIn(link.value_or(OTPAuthParser::nameOf(text).value_or(ImportedToken())), name, issuer);
        if (!link) {
            batch.refused.append({ImportBatch::label(token.name, token.issuer), OtpauthLinks::reasonFor(link.error())});
            return;
        }
    } else if (text.startsWith(steamScheme, Qt::CaseInsensitive)) {
        token = {name, issuer, text.sliced(steamScheme.size()), {30, 5, HashAlgorithm::Sha1, OtpKind::Steam}};
    }
    batch.offer(token, ImportBatch::label(token.name, token.issuer));
}

} // namespace TotpField
