#include "app/TerminalInput.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

termios savedTerminal{};

// Ctrl+C at the prompt must not leave the terminal without echo.
void restoreTerminalAndExit(int signal)
{
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    _exit(128 + signal);
}

} // namespace

namespace TerminalInput {

bool isTerminal()
{
    return isatty(STDIN_FILENO);
}

std::optional<QString> line()
{
    std::string line;
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n')
        line.push_back(char(c));
    if (c == EOF && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    QString text = QString::fromStdString(line);
    std::fill(line.begin(), line.end(), '\0');
    return text;
}

std::optional<QString> password(const QString &prompt)
{
    if (!isTerminal() || tcgetattr(STDIN_FILENO, &savedTerminal) != 0)
        return line();
    std::fputs(qPrintable(prompt), stderr);
    const auto interrupt = std::signal(SIGINT, restoreTerminalAndExit);
    const auto terminate = std::signal(SIGTERM, restoreTerminalAndExit);
    termios quiet = savedTerminal;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::optional<QString> password = line();
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    std::signal(SIGINT, interrupt);
    std::signal(SIGTERM, terminate);
    std::fputs("\n", stderr);
    return password;
}

} // namespace TerminalInput
