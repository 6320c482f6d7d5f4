#include "transfer/BitwardenExport.h"

#include "transfer/CsvTable.h"
#include "transfer/TotpField.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::Literals::StringLiterals;

namespace {

void appendItem(ImportBatch &batch, const QString &totp, const QString &name, const QString &userName)
{
    if (!totp.trimmed().isEmpty())
        TotpField::appendTo(batch, totp, userName, name);
}

} // namespace

namespace BitwardenExport {

bool recognizesJson(const ImportContent &content)
{
    const QJsonObject root = content.json.object();
    return root[u"encrypted"].isBool() && (root[u"items"].isArray() || root[u"encrypted"].toBool());
}

std::expected<ImportBatch, TransferError> readJson(const ImportContent &content)
{
    const QJsonObject root = content.json.object();
    if (root[u"encrypted"].toBool())
        return std::unexpected(TransferError(TransferError::Kind::unsupported,
                                             QCoreApplication::translate("BitwardenExport", "Bitwarden 加密导出")));
    ImportBatch batch;
    for (const QJsonValue &item : root[u"items"].toArray()) {
        if (batch.size() > ImportBatch::maxEntries || content.stop.stop_requested())
            break;
        const QJsonValue login = item[u"login"];
        appendItem(batch, login[u"totp"].toString(), item[u"name"].toString(), login[u"username"].toString());
    }
    return batch;
}

bool recognizesCsv(const ImportContent &content)
{
    const QStringView header = QStringView(content.text).left(content.text.indexOf(u'\n')).trimmed();
    return content.isText && header.split(u',').contains(u"login_totp");
}

std::expected<ImportBatch, TransferError> readCsv(const ImportContent &content)
{
    CsvTable table(content.text, {u"login_totp"_s, u"name"_s, u"login_username"_s}, content.stop);
    ImportBatch batch;
    while (batch.size() <= ImportBatch::maxEntries) {
        const auto row = table.nextRow();
        if (!row)
            break;
        appendItem(batch, row->at(0), row->at(1), row->at(2));
    }
    return batch;
}

} // namespace BitwardenExport
