#pragma once

#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/KdfPolicy.h"
#include "transfer/TransferError.h"

#include <QList>
#include <QString>

#include <expected>

// One kind of file the importer reads: how it is told apart from the others and how it is
// read. A file is read by the first format of all() that recognises it.
struct ImportFormat
{
    using Result = std::expected<ImportBatch, TransferError>;

    // What the import summary says the file was: "Bitwarden 导出", "Aegis 加密备份"...
    QString name;
    bool (*recognizes)(const ImportContent &content);
    // passwordRequired when the file is encrypted and the keys have no password.
    Result (*read)(const ImportContent &content, const DerivedKeys &keys, const KdfPolicy &policy);

    static const QList<ImportFormat> &all();
};
