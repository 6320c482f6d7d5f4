#include "transfer/ProtonExport.h"

#include "transfer/TotpField.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace ProtonExport {

bool recognizes(const ImportContent &content)
{
    const QJsonObject root = content.json.object();
    const QJsonArray entries = root[u"entries"].toArray();
    return root.contains(u"version") && root[u"entries"].isArray()
           && std::all_of(entries.begin(), entries.end(),
                          [](const QJsonValue &entry) { return entry[u"content"].isObject(); });
}

std::expected<ImportBatch, TransferError> read(const ImportContent &content)
{
    ImportBatch batch;
    for (const QJsonValue &entry : content.json[u"entries"].toArray()) {
        if (content.stop.stop_requested())
            break;
        const QJsonValue entryContent = entry[u"content"];
        TotpField::appendTo(batch, entryContent[u"uri"].toString(), entryContent[u"name"].toString(), {});
    }
    return batch;
}

} // namespace ProtonExport
