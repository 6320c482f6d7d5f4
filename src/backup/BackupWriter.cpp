#include "backup/BackupWriter.h"

#include "backup/BackupComputer.h"
#include "backup/BackupFolder.h"
#include "backup/BackupName.h"
#include "engine/TOTPGenerator.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace {

BackupFailure writeFailure(const QFileDevice &file, const QDir &folder)
{
    if (!folder.exists())
        return BackupFailure::Kind::folderMissing;
    if (file.error() == QFileDevice::ResourceError)
        return BackupFailure::Kind::diskFull;
    return BackupFailure::Kind::notWritable;
}

// The name for a backup taken at `time`: after every backup of the same second, even one
// rotated away already, so that the newest name is always the newest backup.
QString freeName(const QDir &folder, const QString &host, const QDateTime &time)
{
    BackupName name{host, time};
    for (const BackupName &taken : BackupFolder::backups(folder.path())) {
        if (taken.host == host && taken.time == time)
            name.suffix = std::max(name.suffix, taken.suffix + 1);
    }
    while (folder.exists(name.fileName()))
        ++name.suffix;
    return name.fileName();
}

std::expected<void, BackupFailure> save(const QString &path, const QByteArray &bytes, const QDir &folder)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return std::unexpected(writeFailure(file, folder));
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // commit() flushes the file to disk before it renames it.
    if (file.write(bytes) != bytes.size() || !file.commit())
        return std::unexpected(writeFailure(file, folder));
    return {};
}

// The vault writes a secret in canonical Base32, which may drop the unused bits of its last
// character: the same account, the same key bytes.
bool sameAccount(const ImportedToken &read, const ImportedToken &written)
{
    const auto hashOf = [](const ImportedToken &token) { return token.icon ? token.icon->hash : QString(); };
    return read.name == written.name && read.issuer == written.issuer && read.otp == written.otp
           && TOTPGenerator::decodeBase32(read.secret) == TOTPGenerator::decodeBase32(written.secret)
           && read.id == written.id && hashOf(read) == hashOf(written) && read.groups == written.groups
           && read.note == written.note && read.favourite == written.favourite;
}

bool opensWithEveryAccount(const BackupRequest &request, const QList<ImportedToken> &tokens, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const auto batch = request.layer->readVault(file.readAll(), request.key.masterKey);
    return batch && batch->refused.isEmpty() && std::ranges::equal(batch->tokens, tokens, sameAccount);
}

} // namespace

namespace BackupWriter {

std::expected<QString, BackupFailure> write(const BackupRequest &request)
{
    const QDir folder(request.folder);
    if (!folder.exists())
        return std::unexpected(BackupFailure::Kind::folderMissing);
    if (request.tokens.isEmpty() && !BackupFolder::backups(request.folder).isEmpty())
        return QString();
    // An icon whose file went missing is left out rather than failing the backup.
    const QList<ImportedToken> tokens = request.icons.withBytes(request.tokens);
    const auto vault = request.layer->writeVault(tokens, request.key);
    if (!vault)
        return std::unexpected(BackupFailure::Kind::notVerified);
    const QString name = freeName(folder, request.host, request.time);
    const QString path = folder.filePath(name);
    if (auto saved = save(path, BackupComputer::stamped(*vault, request.computer), folder); !saved)
        return std::unexpected(saved.error());
    if (!opensWithEveryAccount(request, tokens, path)) {
        QFile::remove(path);
        return std::unexpected(BackupFailure::Kind::notVerified);
    }
    return name;
}

} // namespace BackupWriter
