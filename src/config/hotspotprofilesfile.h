#pragma once

#include "hotspotprofile.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>

class OperatorInteraction;

// HotSpotProfiles.bin: one record per profile, in list order. Records of types 1
// (528 bytes) and 2 (628 bytes, 8-bit texts) from older versions are read; type
// 3 (1228 bytes) is read and written.

void readHotSpotProfiles(QIODevice &device, QList<HotSpotProfile> &profiles);
QByteArray serializeHotSpotProfiles(const QList<HotSpotProfile> &profiles);

void loadHotSpotProfiles(const QString &dataFolder, QList<HotSpotProfile> &profiles);
bool saveHotSpotProfiles(const QString &dataFolder, const QList<HotSpotProfile> &profiles,
                         OperatorInteraction &interaction);
