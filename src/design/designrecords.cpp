#include "designrecords.h"

#include "base/binaryfields.h"

#include <QtEndian>

namespace {

constexpr quint32 HeaderSize = 428;
constexpr quint32 GraphicSize = 436;
constexpr quint32 TextSize = 432;
constexpr quint32 OldHeaderSize = 228;
constexpr quint32 OldGraphicSize = 236;
constexpr quint32 OldTextSize = 232;
constexpr qsizetype NameUnits = 100;
constexpr qsizetype SourceUnits = 200;
constexpr qsizetype TextUnits = 100;

qint32 getI32(const QByteArray &record, qsizetype offset)
{
    return qint32(getU32(record, offset));
}

quint8 getByte(const QByteArray &record, qsizetype offset)
{
    return quint8(record[offset]);
}

QByteArray emptyRecord(quint32 size, quint32 type)
{
    QByteArray record(size, '\0');
    putU32(record, 0, size);
    putU32(record, 4, type);
    return record;
}

// The fields of a graphic block after its source, from `offset` on: the
// kind word, position, size, attributes and colour.
void readGraphicTail(const QByteArray &r, qsizetype offset, DesignGraphic &g)
{
    setKindWord(g, getU32(r, offset));
    g.X = getI32(r, offset + 4);
    g.Y = getI32(r, offset + 8);
    g.Width = getI32(r, offset + 12);
    g.Height = getI32(r, offset + 16);
    g.Attributes = getU32(r, offset + 20);
    g.Colour = getU32(r, offset + 24);
}

// The fields of a text block after its two texts, from `offset` on.
void readTextTail(const QByteArray &r, qsizetype offset, DesignText &t)
{
    t.FontSize = getI32(r, offset);
    t.Bold = getByte(r, offset + 4) != 0;
    t.Italic = getByte(r, offset + 5) != 0;
    t.Colour = getU32(r, offset + 8);
    t.Align = getByte(r, offset + 12);
    t.Rotation = getByte(r, offset + 13);
    t.X = getI32(r, offset + 16);
    t.Y = getI32(r, offset + 20);
}

} // namespace

quint32 designRecordSize(quint32 type)
{
    switch (type) {
    case FirstGenerationDesignRecord:
        return 324;
    case FirstGenerationFontRecord:
        return 120;
    case FirstGenerationTextRecord:
        return 128;
    case OldHeaderRecord:
        return OldHeaderSize;
    case OldGraphicRecord:
        return OldGraphicSize;
    case OldTextRecord:
        return OldTextSize;
    case EmbeddedBitmapRecord:
        return 12;
    case HeaderRecord:
        return HeaderSize;
    case GraphicRecord:
        return GraphicSize;
    case TextRecord:
        return TextSize;
    default:
        return 0;
    }
}

QByteArray headerRecord(const VoucherDesign &design)
{
    QByteArray r = emptyRecord(HeaderSize, HeaderRecord);
    putU32(r, 8, quint32(design.Width));
    putU32(r, 12, quint32(design.Height));
    putU32(r, 16, quint32(design.Margin));
    // A byte holds 255 copies at most; more must not wrap round to a few.
    r[20] = char(qBound(1, design.Copies, 255));
    putText(r, 24, design.Name, NameUnits);
    putText(r, 224, design.Printer, NameUnits);
    r[424] = design.FillPage ? 1 : 0;
    return r;
}

QByteArray graphicRecord(const DesignGraphic &g)
{
    QByteArray r = emptyRecord(GraphicSize, GraphicRecord);
    putText(r, 8, g.Source, SourceUnits);
    putU32(r, 408, kindWord(g));
    putU32(r, 412, quint32(g.X));
    putU32(r, 416, quint32(g.Y));
    putU32(r, 420, quint32(g.Width));
    putU32(r, 424, quint32(g.Height));
    putU32(r, 428, g.Attributes);
    putU32(r, 432, g.Colour);
    return r;
}

QByteArray textRecord(const DesignText &t)
{
    QByteArray r = emptyRecord(TextSize, TextRecord);
    putText(r, 8, t.Text, TextUnits);
    putText(r, 208, t.FontFace, TextUnits);
    putU32(r, 408, quint32(t.FontSize));
    r[412] = t.Bold ? 1 : 0;
    r[413] = t.Italic ? 1 : 0;
    putU32(r, 416, t.Colour);
    r[420] = char(t.Align);
    r[421] = char(t.Rotation);
    putU32(r, 424, quint32(t.X));
    putU32(r, 428, quint32(t.Y));
    return r;
}

QByteArray designRecords(const VoucherDesign &design)
{
    QByteArray bytes = headerRecord(design);
    for (const DesignGraphic &graphic : design.Graphics)
        bytes += graphicRecord(graphic);
    for (const DesignText &text : design.Texts)
        bytes += textRecord(text);
    return bytes;
}

void readHeaderRecord(const QByteArray &r, VoucherDesign &design)
{
    design.Width = getI32(r, 8);
    design.Height = getI32(r, 12);
    design.Margin = getI32(r, 16);
    if (getU32(r, 4) == HeaderRecord) {
        design.Copies = qMax(1, int(getByte(r, 20)));
        design.Name = readTextField(r, 24, NameUnits);
        design.Printer = readTextField(r, 224, NameUnits);
        design.FillPage = getByte(r, 424) != 0;
    } else {
        design.Copies = 1;
        design.Name = readLegacyTextField(r, 24, NameUnits);
        design.Printer = readLegacyTextField(r, 124, NameUnits);
        design.FillPage = getByte(r, 224) != 0;
    }
}

DesignGraphic graphicFromRecord(const QByteArray &r)
{
    DesignGraphic g;
    if (getU32(r, 4) == GraphicRecord) {
        g.Source = readTextField(r, 8, SourceUnits);
        readGraphicTail(r, 408, g);
    } else {
        g.Source = readLegacyTextField(r, 8, SourceUnits);
        readGraphicTail(r, 208, g);
    }
    return g;
}

DesignText textFromRecord(const QByteArray &r)
{
    DesignText t;
    if (getU32(r, 4) == TextRecord) {
        t.Text = readTextField(r, 8, TextUnits);
        t.FontFace = readTextField(r, 208, TextUnits);
        readTextTail(r, 408, t);
    } else {
        t.Text = readLegacyTextField(r, 8, TextUnits);
        t.FontFace = readLegacyTextField(r, 108, TextUnits);
        readTextTail(r, 208, t);
    }
    return t;
}

QString readTextField(const QByteArray &record, qsizetype offset, qsizetype units)
{
    return getText(record, offset, units - 1);
}

QString readLegacyTextField(const QByteArray &record, qsizetype offset, qsizetype bytes)
{
    return getLegacyText(record, offset, bytes - 1);
}

QString storedText(const QString &text, qsizetype units)
{
    QByteArray field(2 * units, '\0');
    putText(field, 0, text, units);
    return readTextField(field, 0, units);
}
