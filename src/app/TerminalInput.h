#pragma once

#include <QString>

#include <optional>

// What a command reads from standard input: a line, or a password, typed without echo when
// standard input is a terminal and taken as it comes when it is not (a pipe, a script).
namespace TerminalInput {

bool isTerminal();
// One line without its line break; absent at the end of input.
std::optional<QString> line();
// After `prompt` on standard error, when standard input is a terminal.
std::optional<QString> password(const QString &prompt);

} // namespace TerminalInput
