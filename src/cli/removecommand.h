#pragma once

class OperatorInteraction;
class SessionFacade;
struct CliOptions;

// Removes a hotspot user, or with --usermanager a User Manager user, from the
// router, and marks that user's history rows of the router removed.
int runRemoveCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction);
