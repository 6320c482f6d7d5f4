#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QString>

#include <stop_token>

// A file's bytes together with the readings the formats are told apart by: the JSON
// document they make, and their text when they are UTF-8.
struct ImportContent
{
    explicit ImportContent(QByteArray bytes, std::stop_token stop = {});

    QByteArray bytes;
    // Null unless the bytes are one JSON document.
    QJsonDocument json;
    QJsonParseError::ParseError jsonError = QJsonParseError::NoError;
    // Empty unless the bytes are UTF-8.
    QString text;
    bool isText = false;
    // Set when the read is no longer wanted (cancelled or replaced): readers stop between
    // entries, rows and links, and ImportReader reports the read as cancelled.
    std::stop_token stop;
};
