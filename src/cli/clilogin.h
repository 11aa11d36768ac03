#pragma once

#include <optional>

class SessionFacade;
struct CliOptions;

// Chooses the router (--router, else the first of the list, as the login window
// does) and checks the program user like the login window. Nothing when both
// are fine, else the exit code (the reason has been written to standard error).
std::optional<int> logInAsOperator(SessionFacade &session, const CliOptions &options);
