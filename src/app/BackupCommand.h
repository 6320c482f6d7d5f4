#pragma once

#include <optional>

// `corvane --backup-setup FOLDER [--backup-keep N]`, `--backup-off` and `--backup-now`: sets
// automatic backups up, turns them off, or writes one at once (0 only when it verified).
// Each acts on the running instance over the session bus when one runs, so that its panel
// follows, and otherwise on the settings and the keychain directly. The password is read
// from standard input: twice without echo on a terminal, one line otherwise.
namespace BackupCommand {

// The process's exit code when the arguments ask for one of these; absent otherwise.
std::optional<int> runIfAsked(int argc, char *argv[]);

} // namespace BackupCommand
