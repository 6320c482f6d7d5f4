#pragma once

#include <optional>

// `corvane --derive-key`: the process KeyDeriver runs a key derivation in, so that it can be
// stopped at once and its memory stays out of the panel. It reads the derivation and the
// password from standard input and writes the key to standard output; it is not for people
// and is not listed among the options.
namespace DeriveKeyCommand {

// The process's exit code when it was started for a derivation; absent otherwise.
std::optional<int> runIfAsked(int argc, char *argv[]);

} // namespace DeriveKeyCommand
