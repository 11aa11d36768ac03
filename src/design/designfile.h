#pragma once

#include "voucherdesign.h"

#include <QByteArray>
#include <QIODevice>

class OperatorInteraction;

// Voucher.bin: for each design a header record, its graphic records and its
// text records. Records of the two older generations are read and converted;
// designs of the first generation follow the others.

// Appends every design the stream holds, up to any damage.
void readDesigns(QIODevice &device, DesignList &designs);
QByteArray serializeDesigns(const DesignList &designs);

// Appends the designs of the data folder's Voucher.bin; when it holds none (it
// is missing, empty or damaged from the start), a copy of the default design.
void loadDesigns(const QString &dataFolder, const VoucherDesign &defaultDesign, DesignList &designs);
// Replaces Voucher.bin. On failure the operator is told and the old file
// stays as it was.
bool saveDesigns(const QString &dataFolder, const DesignList &designs, OperatorInteraction &interaction);
