#pragma once

#include <QString>
#include <optional>

// The first line of standard input without its line break (nor a carriage
// return before it); nothing when standard input ends before any character.
std::optional<QString> readPasswordLine();

// Asks for a password on the terminal, without echoing what is typed, when
// standard input is a terminal; nothing otherwise, or when the input ends.
std::optional<QString> askPasswordOnTerminal(const QString &prompt);
