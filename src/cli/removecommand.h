#pragma once

class OperatorInteraction;
struct AppState;
struct CliOptions;

// Removes a hotspot user, or with --usermanager a User Manager user, from the
// router.
int runRemoveCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction);
