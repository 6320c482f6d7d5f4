#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Which installation wrote a backup. Two homes on one machine share its host name, so each
// installation stamps its backups with a random id of its own (not a secret) in a top-level
// member of the vault, {"corvane": {"computer": id}}, which Aegis ignores.
namespace BackupComputer {

// A new id for this installation.
QString newId();
// The vault's JSON with the stamp. JSON objects are written with their keys sorted, so the
// stamp comes first in the file.
QByteArray stamped(const QByteArray &vault, const QString &id);
// The id a file is stamped with, read from its first bytes only: empty when it has none (a
// backup written before stamps); absent when the file cannot be read.
std::optional<QString> idOf(const QString &path);
// How a person tells computers apart, two called "vm" included: the host and the first
// characters of the id, "vm #3f2a"; the host alone for a backup without an id.
QString label(const QString &host, const QString &id);

} // namespace BackupComputer
