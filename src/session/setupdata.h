#pragma once

#include "config/appsettings.h"
#include "config/appuser.h"
#include "config/hotspotprofile.h"
#include "config/routerconfig.h"
#include "design/voucherdesign.h"

#include <QList>
#include <QStringList>

struct AppState;
class OperatorInteraction;

// What the setup window edits: copies of the program's lists and settings,
// taken when it opens. Its pages change only these copies; OK hands them back
// through applySetup.
struct SetupData
{
    AppSettings settings;
    QList<AppUser> users;
    QStringList userNames; // the username database
    QList<RouterConfig> routers;
    QList<HotSpotProfile> hotSpotProfiles;
    // The program's designs as they are (shared); the design page works on
    // copies of its own and hands back new ones.
    DesignList designs;
};

SetupData setupData(const AppState &state);

// Makes the edited copies the program's own and writes them: UserDatabase.bin,
// HotSpotProfiles.bin, Routers.bin and Voucher.bin each only when its list
// changed, then the settings with the program users. Profiles that print with
// a replaced design print with the new design of the same name. A file that cannot be written has been
// reported and keeps its old contents, and so does the program's list of it
// (a list file that did not read whole at start-up is never written, see
// AppState::damagedLists):
// memory and disk never disagree. False when anything could not be written (the
// setup stays open; OK tries again). The logged-in program user and the current
// router are looked up again by name in the new lists.
bool applySetup(AppState &state, const SetupData &edited, OperatorInteraction &interaction);
