#pragma once

class SessionFacade;
struct CliOptions;

// Removes a hotspot user, or with --usermanager a User Manager user, from the
// router.
int runRemoveCommand(SessionFacade &session, const CliOptions &options);
