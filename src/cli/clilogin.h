#pragma once

#include <optional>

class SessionFacade;
struct CliOptions;

// Chooses the router (--router, else the first of the list, as the login window
// does) and checks the program user like the login window. Nothing when both
// are fine, else the exit code (the reason has been written to standard error).
std::optional<int> logInAsOperator(SessionFacade &session, const CliOptions &options);

// Takes the program user's password into the options from where the command
// line says: the first line of standard input (--operator-password-stdin), the
// option itself (--operator-password, with a warning on standard error: every
// user of the machine can read a process's arguments), else the environment
// variable WIFITICKETER_OPERATOR_PASSWORD, else it stays empty. Nothing when
// done, else the exit code (the reason has been written to standard error).
std::optional<int> takeOperatorPassword(CliOptions &options);
