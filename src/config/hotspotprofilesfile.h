#pragma once

#include "hotspotprofile.h"

#include "base/listfile.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>

class OperatorInteraction;

// HotSpotProfiles.bin: one record per profile, in list order. Records of types 1
// (528 bytes) and 2 (628 bytes, 8-bit texts) from older versions are read; type
// 3 (1228 bytes) is read and written.

// Appends every profile of the stream. True when it read whole (see
// readRecords): a record of types 1 to 3 of another size is damage, records of
// other types are skipped.
bool readHotSpotProfiles(QIODevice &device, QList<HotSpotProfile> &profiles);
QByteArray serializeHotSpotProfiles(const QList<HotSpotProfile> &profiles);

// Appends the profiles of the data folder's HotSpotProfiles.bin, those before
// any damage included. A damaged file must be left alone.
ListFileState loadHotSpotProfiles(const QString &dataFolder, QList<HotSpotProfile> &profiles);
// Replaces HotSpotProfiles.bin (owner-only, as the files with the router
// passwords and sales). On failure the operator is told and the old file stays.
bool saveHotSpotProfiles(const QString &dataFolder, const QList<HotSpotProfile> &profiles,
                         OperatorInteraction &interaction);
