#pragma once

struct AppState;
class OperatorInteraction;

// What the login window does once the program user and the router are chosen:
// reads the router's information (its profiles, with the expiration-script
// question), gives the profiles their designs from the router's design map and
// loads the counter's sales history. False when the router could not be read
// (the operator has been told why).
bool startRouterSession(AppState &state, OperatorInteraction &interaction);
