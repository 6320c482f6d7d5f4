#include "transfer/BackupFormat.h"

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

using namespace Qt::Literals::StringLiterals;

namespace {

using Result = BackupFormat::Result;

template <bool (*test)(const QJsonObject &)> bool objectWith(const BackupContent &content)
{
    return content.json.isObject() && test(content.json.object());
}

template <Result (*reader)(const QJsonObject &, const DerivedKeys &, const KdfPolicy &)>
Result readObject(const BackupContent &content, const DerivedKeys &keys, const KdfPolicy &policy)
{
    return reader(content.json.object(), keys, policy);
}

// A reader of a format that is never encrypted.
template <auto reader> Result withoutPassword(const BackupContent &content, const DerivedKeys &, const KdfPolicy &)
{
    return reader(content);
}

bool isLinkList(const BackupContent &content)
{
    return content.isText && OtpauthLinks::recognizes(content.text);
}

ImportBatch readLinkList(const BackupContent &content)
{
    return OtpauthLinks::read(content.text);
}

} // namespace

const QList<BackupFormat> &BackupFormat::all()
{
    // Specific before general: a format whose test is loose (any text with a link in it,
    // any bytes at all) comes after those it could mistake.
    static const QList<BackupFormat> formats{
        {u"Aegis 加密备份"_s, objectWith<AegisVault::isEncrypted>, readObject<AegisVault::read>},
        {u"Aegis 备份"_s, objectWith<AegisVault::recognizes>, readObject<AegisVault::read>},
        {u"2FAS 加密备份"_s, objectWith<TwoFasBackup::isEncrypted>, readObject<TwoFasBackup::read>},
        {u"2FAS 备份"_s, objectWith<TwoFasBackup::recognizes>, readObject<TwoFasBackup::read>},
        {u"Ente Auth 加密导出"_s, objectWith<EnteEncrypted::recognizes>, readObject<EnteEncrypted::read>},
        {u"Authenticator Pro 加密备份"_s, AuthenticatorProEncrypted::recognizes, AuthenticatorProEncrypted::read},
        {u"Authenticator Pro 旧版加密备份"_s, AuthenticatorProEncrypted::recognizesLegacy,
         AuthenticatorProEncrypted::read},
        {u"Bitwarden 导出"_s, BitwardenExport::recognizesJson, withoutPassword<BitwardenExport::readJson>},
        {u"Proton Authenticator 导出"_s, ProtonExport::recognizes, withoutPassword<ProtonExport::read>},
        {u"FreeOTP+ 备份"_s, FreeOtpPlusBackup::recognizes, withoutPassword<FreeOtpPlusBackup::read>},
        {u"Authenticator Pro 备份"_s, AuthenticatorProBackup::recognizes,
         withoutPassword<AuthenticatorProBackup::read>},
        {u"Steam 令牌文件（maFile）"_s, SteamMaFile::recognizes, withoutPassword<SteamMaFile::read>},
        {u"andOTP 备份"_s, AndOtpBackup::recognizes, withoutPassword<AndOtpBackup::read>},
        {u"Bitwarden 导出（CSV）"_s, BitwardenExport::recognizesCsv, withoutPassword<BitwardenExport::readCsv>},
        {u"otpauth 链接列表"_s, isLinkList, withoutPassword<readLinkList>},
        {u"andOTP 加密备份"_s, AndOtpEncrypted::recognizes, AndOtpEncrypted::read},
    };
    return formats;
}
