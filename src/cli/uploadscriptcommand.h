#pragma once

class OperatorInteraction;
struct AppState;
struct CliOptions;

// Uploads the expiration script and its scheduler entry to the router, forced,
// as the router dialog's button does; --interval applies to this upload only.
int runUploadScriptCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction);
