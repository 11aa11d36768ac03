#include "passwordinput.h"

#include <QTextStream>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

std::optional<QString> readLine()
{
    std::string line;
    if (!std::getline(std::cin, line) && line.empty())
        return std::nullopt;
    // A file written on Windows ends its lines with CR LF.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}

} // namespace

std::optional<QString> readPasswordLine()
{
    return readLine();
}

std::optional<QString> askPasswordOnTerminal(const QString &prompt)
{
    if (isatty(STDIN_FILENO) != 1)
        return std::nullopt;
    QTextStream err(stderr);
    err << prompt << Qt::flush;
    termios shown{};
    const bool quiet = tcgetattr(STDIN_FILENO, &shown) == 0;
    if (quiet) {
        termios hidden = shown;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    const std::optional<QString> password = readLine();
    if (quiet)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &shown);
    // The line break typed was not echoed.
    err << '\n' << Qt::flush;
    return password;
}
