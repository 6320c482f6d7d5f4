#include "store/IconFolder.h"

#include "engine/Logging.h"
#include "store/IconCheck.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

IconFolder IconFolder::standard()
{
    return IconFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/icons"_s);
}

QString IconFolder::filePath(const AccountIcon &icon) const
{
    const QString extension = icon.type == IconType::Jpeg ? u"jpg"_s : AccountIcon::typeName(icon.type);
    return u"%1/%2.%3"_s.arg(m_path, icon.hash, extension);
}

std::optional<AccountIcon> IconFolder::save(QByteArray bytes) const
{
    auto icon = IconCheck::icon(std::move(bytes));
    if (!icon)
        return std::nullopt;
    const QString path = filePath(*icon);
    if (!QFile::exists(path)) {
        if (!QDir().mkpath(m_path))
            return std::nullopt;
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            qCWarning(lcStore) << "cannot write an icon:" << file.errorString();
            return std::nullopt;
        }
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (file.write(icon->bytes) != icon->bytes.size() || !file.commit()) {
            qCWarning(lcStore) << "cannot write an icon:" << file.errorString();
            return std::nullopt;
        }
    }
    icon->bytes.clear();
    return icon;
}

std::optional<QByteArray> IconFolder::read(const AccountIcon &icon) const
{
    QFile file(filePath(icon));
    if (!file.open(QIODevice::ReadOnly) || file.size() > IconCheck::maxBytes)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (AccountIcon::of(bytes, icon.type).hash != icon.hash)
        return std::nullopt;
    return bytes;
}

QList<ImportedToken> IconFolder::saved(QList<ImportedToken> tokens) const
{
    for (ImportedToken &token : tokens) {
        if (token.icon)
            token.icon = save(std::move(token.icon->bytes));
    }
    return tokens;
}

QList<ImportedToken> IconFolder::withBytes(QList<ImportedToken> tokens) const
{
    for (ImportedToken &token : tokens) {
        if (!token.icon)
            continue;
        if (auto bytes = read(*token.icon))
            token.icon->bytes = std::move(*bytes);
        else
            token.icon.reset();
    }
    return tokens;
}
