#pragma once

struct AppState;
class OperatorInteraction;

// The start of a session on the current router: the profile list, the last
// run's profile and the batch of an earlier session are emptied, then the
// router's information is read (its version, customer and profiles, with the
// expiration-script question).
// True without asking anything when no router is current; false when the
// router could not be read (the operator has been told why).
bool readCurrentRouterInformation(AppState &state, OperatorInteraction &interaction);

// What the login window does once the program user and the router are chosen:
// reads the router's information, gives the profiles their designs from the
// router's design map, loads the counter's sales history and settles the
// vouchers an interrupted run left unconfirmed on this router. False when the
// router could not be read (the operator has been told why).
bool startRouterSession(AppState &state, OperatorInteraction &interaction);
