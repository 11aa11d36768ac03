#pragma once

struct ApiConnection;
struct RouterConfig;
class OperatorInteraction;

// Connects and logs in to the router; on failure the operator has been told
// why (the router's name when it cannot be reached or does not answer the
// login, its address when it refused the login) and the slot is empty.
bool openSession(ApiConnection &connection, const RouterConfig &router, OperatorInteraction &interaction);
