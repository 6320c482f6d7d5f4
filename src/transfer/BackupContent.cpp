#include "transfer/BackupContent.h"

#include <QStringDecoder>

BackupContent::BackupContent(QByteArray fileBytes) : bytes(std::move(fileBytes))
{
    QJsonParseError error;
    json = QJsonDocument::fromJson(bytes, &error);
    jsonError = error.error;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString decoded = decoder(bytes);
    isText = !decoder.hasError();
    if (isText)
        text = std::move(decoded);
}
