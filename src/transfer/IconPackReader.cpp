#include "transfer/IconPackReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <zip.h>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype maxIndexBytes = 16 * 1024 * 1024;
// All the icons' bytes together: Aegis's own packs are a few MiB.
constexpr qsizetype maxPackBytes = 128 * 1024 * 1024;
const QString indexName = u"pack.json"_s;

// The bytes of a file in the pack, at most `limit`; absent when it is not there.
using PackFiles = std::function<std::optional<QByteArray>(const QString &name, qsizetype limit)>;

TransferError notAPack()
{
    return TransferError(TransferError::Kind::unsupported,
                         QCoreApplication::translate("IconPackReader", "不是 Aegis 图标包（没有 pack.json）"));
}

// A name inside the pack: relative, without "..".
bool insidePack(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(u'/') && !name.split(u'/').contains(u".."_s);
}

std::expected<IconPack, TransferError> readPack(const PackFiles &files)
{
    const auto index = files(indexName, maxIndexBytes);
    if (!index)
        return std::unexpected(notAPack());
    const QJsonObject root = QJsonDocument::fromJson(*index).object();
    if (!root[u"icons"].isArray())
        return std::unexpected(TransferError::Kind::damaged);
    IconPack pack{root[u"name"].toString(), {}};
    qsizetype total = 0;
    for (const QJsonValue &entry : root[u"icons"].toArray()) {
        if (pack.icons.size() >= IconPackReader::maxIcons || total > maxPackBytes)
            break;
        const QString fileName = entry[u"filename"].toString();
        QStringList issuers;
        for (const QJsonValue &issuer : entry[u"issuer"].toArray())
            issuers.append(issuer.toString());
        auto bytes = insidePack(fileName) ? files(fileName, IconPackReader::maxIconBytes) : std::nullopt;
        total += bytes ? bytes->size() : 0;
        if (bytes && !issuers.isEmpty())
            pack.icons.append({fileName, entry[u"category"].toString(), issuers, std::move(*bytes)});
    }
    return pack;
}

std::optional<QByteArray> folderFile(const QDir &folder, const QString &name, qsizetype limit)
{
    QFile file(folder.filePath(name));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(limit);
}

std::optional<QByteArray> zipFile(zip_t *archive, const QString &name, qsizetype limit)
{
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen(archive, name.toUtf8().constData(), 0),
                                                            zip_fclose);
    if (!file)
        return std::nullopt;
    QByteArray bytes(limit, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < limit) {
        const zip_int64_t read = zip_fread(file.get(), bytes.data() + filled, zip_uint64_t(limit - filled));
        if (read < 0)
            return std::nullopt;
        if (read == 0)
            break;
        filled += qsizetype(read);
    }
    bytes.truncate(filled);
    return bytes;
}

} // namespace

namespace IconPackReader {

std::expected<IconPack, TransferError> read(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        const QDir folder(path);
        return readPack([&](const QString &name, qsizetype limit) { return folderFile(folder, name, limit); });
    }
    int error = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error), zip_discard);
    if (!archive)
        return std::unexpected(info.isFile() ? notAPack() : TransferError(TransferError::Kind::fileError));
    return readPack([&](const QString &name, qsizetype limit) { return zipFile(archive.get(), name, limit); });
}

} // namespace IconPackReader
