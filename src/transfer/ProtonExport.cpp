#include "transfer/ProtonExport.h"

#include "transfer/TotpField.h"

#include <QJsonArray>
#include <QJsonObject>

namespace ProtonExport {

bool recognizes(const BackupContent &content)
{
    const QJsonObject root = content.json.object();
    return root.contains(u"version") && root[u"entries"].isArray();
}

std::expected<ImportBatch, TransferError> read(const BackupContent &content)
{
    ImportBatch batch;
    for (const QJsonValue &entry : content.json[u"entries"].toArray()) {
        const QJsonValue entryContent = entry[u"content"];
        TotpField::appendTo(batch, entryContent[u"uri"].toString(), entryContent[u"name"].toString(), {});
    }
    return batch;
}

} // namespace ProtonExport
