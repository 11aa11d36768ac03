#pragma once

#include <QString>

// The overall help: every command with its options, then the common options.
QString cliUsage();

// One command's help: its synopsis, what each of its options does and a
// realistic example. Empty for a command that does not exist.
QString commandUsage(const QString &command);
