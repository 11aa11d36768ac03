#pragma once

#include "voucherdesign.h"

#include <QByteArray>

// The records that hold a design in Voucher.bin and in exchange files: an
// 8-byte header (size, type) and a fixed layout per type. Types 31 to 33 are
// written; 11 to 13 (8-bit texts) are still read.

enum DesignRecordType : quint32
{
    FirstGenerationDesignRecord = 1,
    FirstGenerationFontRecord = 2,
    FirstGenerationTextRecord = 3,
    EmbeddedBitmapRecord = 22,
    OldHeaderRecord = 11,
    OldGraphicRecord = 12,
    OldTextRecord = 13,
    HeaderRecord = 31,
    GraphicRecord = 32,
    TextRecord = 33
};

// Records of 2000 bytes or more are taken for damage.
inline constexpr quint32 DesignRecordSizeLimit = 2000;

// The size every record of the type has, header included; 0 for types the
// design files do not know.
quint32 designRecordSize(quint32 type);

// Type 31, 32 and 33 records. Texts are cut to what their fields hold; copies
// are kept within 1..255, as the single byte they are stored in.
QByteArray headerRecord(const VoucherDesign &design);
QByteArray graphicRecord(const DesignGraphic &graphic);
QByteArray textRecord(const DesignText &text);
// The header, then every graphic, then every text.
QByteArray designRecords(const VoucherDesign &design);

// Readers of records of the right size (type 31 or 11, 32 or 12, 33 or 13).
// A header sets everything but the elements; a copies byte of 0 reads as 1.
void readHeaderRecord(const QByteArray &record, VoucherDesign &design);
DesignGraphic graphicFromRecord(const QByteArray &record);
DesignText textFromRecord(const QByteArray &record);

// Text fields read as the writer leaves them: the last unit of a field is
// always its terminator, so a field that is full reads without its last unit.
QString readTextField(const QByteArray &record, qsizetype offset, qsizetype units);
QString readLegacyTextField(const QByteArray &record, qsizetype offset, qsizetype bytes);

// What a text field of `units` units gives back of a text: at most units - 1
// units, no half of a pair at the cut, nothing from a NUL on.
QString storedText(const QString &text, qsizetype units);
