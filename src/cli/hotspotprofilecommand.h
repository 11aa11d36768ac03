#pragma once

class OperatorInteraction;
class SessionFacade;
struct CliOptions;

// hotspot-profile add|set|remove NAME: edits HotSpotProfiles.bin with the
// profile editor's rules, as a program user allowed into the setup.
int runHotSpotProfileCommand(SessionFacade &session, const CliOptions &options,
                             OperatorInteraction &interaction);
