#pragma once

class SessionFacade;
struct CliOptions;

// Uploads the expiration script and its scheduler entry to the router, forced,
// as the router dialog's button does; --interval applies to this upload only.
int runUploadScriptCommand(SessionFacade &session, const CliOptions &options);
