#pragma once

#include <QString>

struct AppState;
class OperatorInteraction;

// The login window's credential check: the program user with exactly this name
// and password becomes the current user; with `needSettings` the user must
// also be allowed into the setup. On failure the operator is told why and
// nobody is logged in.
bool checkProgramUser(AppState &state, const QString &name, const QString &password, bool needSettings,
                      OperatorInteraction &interaction);
