#include "transfer/ImportFormat.h"

#include "transfer/AegisVault.h"
#include "transfer/AndOtpBackup.h"
#include "transfer/AndOtpEncrypted.h"
#include "transfer/AuthenticatorProBackup.h"
#include "transfer/AuthenticatorProEncrypted.h"
#include "transfer/BitwardenExport.h"
#include "transfer/EnteEncrypted.h"
#include "transfer/FreeOtpPlusBackup.h"
#include "transfer/OtpauthLinks.h"
#include "transfer/ProtonExport.h"
#include "transfer/SteamMaFile.h"
#include "transfer/TwoFasBackup.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

using Result = ImportFormat::Result;

template <bool (*test)(const QJsonObject &)> bool objectWith(const ImportContent &content)
{
    return content.json.isObject() && test(content.json.object());
}

template <Result (*reader)(const QJsonObject &, const DerivedKeys &, const KdfPolicy &, std::stop_token)>
Result readObject(const ImportContent &content, const DerivedKeys &keys, const KdfPolicy &policy)
{
    return reader(content.json.object(), keys, policy, content.stop);
}

// A reader of a format that is never encrypted.
template <auto reader> Result withoutPassword(const ImportContent &content, const DerivedKeys &, const KdfPolicy &)
{
    return reader(content);
}

bool isLinkList(const ImportContent &content)
{
    return content.isText && OtpauthLinks::recognizes(content.text);
}

ImportBatch readLinkList(const ImportContent &content)
{
    return OtpauthLinks::read(content.text, content.stop);
}

} // namespace

const QList<ImportFormat> &ImportFormat::all()
{
    // Specific before general: a format whose test is loose (any text with a link in it,
    // any bytes at all) comes after those it could mistake.
    static const QList<ImportFormat> formats{
        {QCoreApplication::translate("ImportFormat", "Aegis 加密备份"), objectWith<AegisVault::isEncrypted>,
         readObject<AegisVault::read>},
        {QCoreApplication::translate("ImportFormat", "Aegis 备份"), objectWith<AegisVault::recognizes>,
         readObject<AegisVault::read>},
        {QCoreApplication::translate("ImportFormat", "2FAS 加密备份"), objectWith<TwoFasBackup::isEncrypted>,
         readObject<TwoFasBackup::read>},
        {QCoreApplication::translate("ImportFormat", "2FAS 备份"), objectWith<TwoFasBackup::recognizes>,
         readObject<TwoFasBackup::read>},
        {QCoreApplication::translate("ImportFormat", "Ente Auth 加密导出"), objectWith<EnteEncrypted::recognizes>,
         readObject<EnteEncrypted::read>},
        {QCoreApplication::translate("ImportFormat", "Authenticator Pro 加密备份"),
         AuthenticatorProEncrypted::recognizes, AuthenticatorProEncrypted::read},
        {QCoreApplication::translate("ImportFormat", "Authenticator Pro 旧版加密备份"),
         AuthenticatorProEncrypted::recognizesLegacy, AuthenticatorProEncrypted::read},
        {QCoreApplication::translate("ImportFormat", "Bitwarden 导出"), BitwardenExport::recognizesJson,
         withoutPassword<BitwardenExport::readJson>},
        {QCoreApplication::translate("ImportFormat", "Proton Authenticator 导出"), ProtonExport::recognizes,
         withoutPassword<ProtonExport::read>},
        {QCoreApplication::translate("ImportFormat", "FreeOTP+ 备份"), FreeOtpPlusBackup::recognizes,
         withoutPassword<FreeOtpPlusBackup::read>},
        {QCoreApplication::translate("ImportFormat", "Authenticator Pro 备份"), AuthenticatorProBackup::recognizes,
         withoutPassword<AuthenticatorProBackup::read>},
        {QCoreApplication::translate("ImportFormat", "Steam 令牌文件（maFile）"), SteamMaFile::recognizes,
         withoutPassword<SteamMaFile::read>},
        {QCoreApplication::translate("ImportFormat", "andOTP 备份"), AndOtpBackup::recognizes,
         withoutPassword<AndOtpBackup::read>},
        {QCoreApplication::translate("ImportFormat", "Bitwarden 导出（CSV）"), BitwardenExport::recognizesCsv,
         withoutPassword<BitwardenExport::readCsv>},
        {QCoreApplication::translate("ImportFormat", "otpauth 链接列表"), isLinkList, withoutPassword<readLinkList>},
        {QCoreApplication::translate("ImportFormat", "andOTP 加密备份"), AndOtpEncrypted::recognizes,
         AndOtpEncrypted::read},
    };
    return formats;
}
