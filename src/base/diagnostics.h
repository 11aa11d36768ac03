#pragma once

#include <QLoggingCategory>
#include <QString>
#include <cstdio>

// The few diagnostics of the RouterOS API client ("error.", "length of word is
// %d", "word is too long.") travel as Qt messages of this category, so each
// front end decides where they go: the windows program writes them to standard
// output, the command line to standard error, because its standard output
// carries data that scripts read.
Q_DECLARE_LOGGING_CATEGORY(apiDiagnostics)

// Whether a Qt message is one of those diagnostics.
bool isApiDiagnostic(const QMessageLogContext &context);

// Writes the diagnostic as a line of its own and flushes the stream.
void writeApiDiagnostic(std::FILE *stream, const QString &message);
