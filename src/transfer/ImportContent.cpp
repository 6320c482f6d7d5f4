#include "transfer/ImportContent.h"

#include <QStringDecoder>

ImportContent::ImportContent(QByteArray fileBytes, std::stop_token stopToken)
    : bytes(std::move(fileBytes)),
      stop(std::move(stopToken))
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
