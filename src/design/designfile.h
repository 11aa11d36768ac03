#pragma once

#include "voucherdesign.h"

#include "base/listfile.h"

#include <QByteArray>
#include <QIODevice>

class OperatorInteraction;

// Voucher.bin: for each design a header record, its graphic records and its
// text records. Records of the two older generations are read and converted;
// designs of the first generation follow the others.

// Appends every design the stream holds, up to any damage. True when it read
// whole (see readRecords): a record of a known type and another size, or an
// element before any design, is damage; records of unknown types and embedded
// bitmaps are skipped.
bool readDesigns(QIODevice &device, DesignList &designs);
QByteArray serializeDesigns(const DesignList &designs);

// Appends the designs of the data folder's Voucher.bin, those before any
// damage included; when it holds none (it is missing, empty or damaged from
// the start), a copy of the default design. A damaged file must be left alone.
ListFileState loadDesigns(const QString &dataFolder, const VoucherDesign &defaultDesign, DesignList &designs);
// Replaces Voucher.bin. On failure the operator is told and the old file
// stays as it was.
bool saveDesigns(const QString &dataFolder, const DesignList &designs, OperatorInteraction &interaction);
