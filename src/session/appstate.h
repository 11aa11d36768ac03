#pragma once

#include "base/clock.h"
#include "base/formatprice.h"
#include "base/settingskey.h"
#include "config/appsettings.h"
#include "config/appuser.h"
#include "config/hotspotprofile.h"
#include "config/routerconfig.h"
#include "design/voucherdesign.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"
#include "history/openhistory.h"
#include "pos/poshistory.h"
#include "router/routerinfo.h"

#include <QList>
#include <QStringList>

// Where the program keeps its state on disk.
struct StoragePaths
{
    QString settingsFile; // the .reg file of the settings key
    QString dataFolder;   // Routers.bin, HotSpotProfiles.bin, UserDatabase.bin, ...
};

// Taken from the environment (WIFITICKETER_SETTINGS, WIFITICKETER_DATA_DIR) or
// the user's XDG folders.
StoragePaths defaultStoragePaths();

// The list files of the data folder, each saved whole from its list.
enum class ListFile
{
    Routers,         // Routers.bin
    HotSpotProfiles, // HotSpotProfiles.bin
    UserDatabase,    // UserDatabase.bin
    Designs          // Voucher.bin
};

// The process-wide state of the program: its settings and lists, owned here.
// Code below the session layer gets only the parts it needs.
struct AppState
{
    explicit AppState(StoragePaths paths);

    // The router chosen at login; none before a login, or when the index lies
    // outside the list.
    const RouterConfig *currentRouter() const;

    StoragePaths paths;
    SettingsKey settingsKey;
    AppSettings settings;

    QList<AppUser> users;              // program users
    qsizetype currentUser = -1;        // index into users after a login, else -1
    QList<RouterConfig> routers;       // in file order
    qsizetype currentRouterIndex = -1; // index into routers chosen at login, else -1
    QList<HotSpotProfile> hotSpotProfiles;
    // Routers.bin held bytes that yield no router: the file is left as it is,
    // nothing is seeded, and the front end tells the operator.
    bool routersUnreadable = false;
    // The list files that did not read whole at start-up. Each is kept as it
    // is: its list holds what could be read, nothing saves over it while the
    // program runs, and the front end tells the operator.
    QList<ListFile> damagedLists;
    // The settings file is there but could not be read: the state holds the
    // defaults, the file is left as it is, and the front end tells the operator.
    bool settingsUnreadable = false;
    VoucherDesign defaultDesign;      // "Padrão", built in
    DesignList designs;               // Voucher.bin; profiles point into it
    QStringList userNames;            // the username database
    ProfileList profiles;             // sellable profiles, rebuilt at each session start
    BatchList batch;                  // vouchers of the last generation run
    RouterInfo routerInfo;            // of the current router
    bool historyWarningShown = false; // the operator knows the history is unreachable
    PosHistory posHistory;            // sales at the counter
    // The profile of the last generation run; none when its session failed.
    std::shared_ptr<const VoucherProfile> lastRunProfile;

    NumberSeparators separators; // of the user's locale, taken at start-up

    Clock systemClock;
    const Clock *clock = &systemClock; // tests point this at a fixed clock
};

// Prices written with the current currency pattern and the locale's separators.
PriceFormat priceFormat(const AppState &state);

// Where the history database is and where its waiting rows are kept.
HistoryPlace historyPlace(const AppState &state);

// The name of the logged-in program user; empty when nobody is logged in.
QString currentUserName(const AppState &state);

// The store part of entering or leaving POS mode: the current program user's
// flag changes and "UsersData" is written (failures are silent).
void setPosMode(AppState &state, bool posMode);
// The same for the counter window's full screen.
void setFullScreen(AppState &state, bool fullScreen);
