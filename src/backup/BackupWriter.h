#pragma once

#include "backup/BackupFailure.h"
#include "backup/BackupRequest.h"

#include <expected>

// Writes one automatic backup: the vault goes to a temporary file in the folder, is flushed
// to disk and renamed to its backup name (so a crash leaves either no file under that name
// or a whole one), then is read back and opened with the master key. A backup that does not
// give back every account is removed again. Safe on any thread.
namespace BackupWriter {

// The verified file's name; empty when nothing was written, since a backup of no accounts is
// never written to a folder that holds backups: it would lead the list above them (a computer
// set up afresh over a synced folder would offer its own empty backup first).
std::expected<QString, BackupFailure> write(const BackupRequest &request);

} // namespace BackupWriter
