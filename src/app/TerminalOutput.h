#pragma once

#include <QByteArray>
#include <QStringList>

#include <cstdio>

// What commands print: tab-separated lines of fields that cannot split or rewrite the line.
namespace TerminalOutput {

// The fields joined by tabs, with a line break; tabs, line breaks and other control and bidi
// characters inside a field become spaces or go.
QByteArray line(const QStringList &fields);
// Writes and flushes at once.
void write(std::FILE *stream, const QByteArray &bytes);

} // namespace TerminalOutput
