#pragma once

#include "engine/AccountIcon.h"
#include "engine/ImportedToken.h"

#include <QList>
#include <QString>

#include <optional>

// The icons' files under the user's data folder: one file per icon, named by the SHA-256 of
// its bytes, readable by the owner only. Files are read and written by whoever runs these
// calls; the store runs them off the main thread. A value, safe to copy to any thread.
class IconFolder
{
public:
    explicit IconFolder(QString path) : m_path(std::move(path)) {}
    // "icons" in the application's data folder.
    static IconFolder standard();

    const QString &path() const { return m_path; }
    // Where the icon's file is, whether or not it is there yet.
    QString filePath(const AccountIcon &icon) const;

    // Checks the bytes and writes their file unless it is there already: the icon without its
    // bytes, or absent when the bytes may not be an icon or cannot be written.
    std::optional<AccountIcon> save(QByteArray bytes) const;
    // The file's bytes, when the file is there and still hashes to its name.
    std::optional<QByteArray> read(const AccountIcon &icon) const;

    // Each token's icon saved: its hash and type, or none when its bytes were refused.
    QList<ImportedToken> saved(QList<ImportedToken> tokens) const;
    // Each token's icon with its bytes read back, dropped where its file is gone.
    QList<ImportedToken> withBytes(QList<ImportedToken> tokens) const;

private:
    QString m_path;
};
