#pragma once

#include "voucherdesign.h"

#include "generation/voucherprofile.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>

struct RouterConfig;

// The design map files: for the profiles of one router, the name of the
// design each prints with. VoucherMap_<key>.bin per router (see
// designMapKey); an older VoucherMap.bin common to all routers is read when a
// router has no file of its own, and never written.

// One entry of a map file.
struct DesignMapEntry
{
    bool HotSpot = false; // a hotspot profile, else a User Manager profile
    QString Title;
    QString DesignName; // empty: no design

    friend bool operator==(const DesignMapEntry &, const DesignMapEntry &) = default;
};

// Appends the entries of the stream, up to any damage. Records of the current
// generation (15, 16) hold UTF-16 texts, older ones (5, 6) UTF-8; records of
// other types are skipped.
void readDesignMap(QIODevice &device, QList<DesignMapEntry> &entries);
// One record for each profile, in list order.
QByteArray serializeDesignMap(const ProfileList &profiles);

// Gives profiles their designs: each entry goes to the first profile of its
// kind and title (in any case) and sets the design of that name, when there is
// one. Afterwards profiles still without a design get the first design.
void applyDesignMap(const QList<DesignMapEntry> &entries, ProfileList &profiles, const DesignList &designs);

// The map file of a router.
QString designMapFile(const QString &dataFolder, const QString &routerName);

// Reads the current router's map file, or the common one when the router has
// none or no router is current, and applies it. Failures are silent.
void loadDesignMap(const QString &dataFolder, const RouterConfig *currentRouter, ProfileList &profiles,
                   const DesignList &designs);
// Replaces the current router's map file; nothing without a current router.
// Failures are silent (the result is for tests) and keep the previous file.
bool saveDesignMap(const QString &dataFolder, const RouterConfig *currentRouter, const ProfileList &profiles);
