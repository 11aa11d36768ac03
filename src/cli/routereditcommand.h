#pragma once

class OperatorInteraction;
class SessionFacade;
struct CliOptions;

// router add|set|remove NAME: edits Routers.bin with the router dialog's rules,
// as a program user allowed into the setup.
int runRouterEditCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction);
