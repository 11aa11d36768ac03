#pragma once

#include "routerbehaviour.h"
#include "routerstate.h"
#include "wireformat.h"

#include <QJsonObject>
#include <QString>

namespace routersim {

// The state dump: {"version", "nextId", and one array per record list
// ("hotspotUsers", "userManagerUsers", ...) of objects keyed by the RouterOS
// attribute names ("id", "name", "limit-uptime", ...)}.
QJsonObject stateToJson(const RouterState &state);

// Applies what a configuration object names onto the state and behaviour: a
// list given replaces the list, a value given replaces the value, the rest
// stays. Behaviour keys: "login" ("challenge", "both", "plain", "plain-trap"),
// "refuseAdds", "forgetAdds", "stall", "closeAfter", "latencyMs", "trickleMs",
// "outOfOrderTags", "collideAddAt", "refuseAddsFrom", "ignoreTags",
// "endlessReMs", "faultCommand" (routerbehaviour.h). False with a message for
// an unknown key or a value of the wrong kind.
bool applyConfigJson(const QJsonObject &config, RouterState &state, RouterBehaviour &behaviour,
                     QString &error);

// One line of the sentence log: {"connection": 1, "words": [...]}. A word that
// is not valid UTF-8 is written as {"base64": "..."}.
QJsonObject loggedSentenceToJson(const LoggedSentence &sentence);

} // namespace routersim
