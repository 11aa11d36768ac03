// Voucher.bin from any bytes, records of every generation included: reading
// never fails badly, what is read is written (in today's records) and read
// back unchanged, a design made from the input reads back as the writer
// promises, and what the writer makes reads whole.

#include "designlists.h"
#include "fuzzcheck.h"
#include "readfrombytes.h"

#include "design/designfile.h"

namespace {

constexpr qsizetype NameUnits = 100;
constexpr qsizetype SourceUnits = 200;
constexpr qsizetype TextUnits = 100;
constexpr qsizetype HeaderSize = 428;
constexpr qsizetype GraphicSize = 436;
constexpr qsizetype TextSize = 432;

DesignList readAll(const QByteArray &bytes)
{
    return readFromBytes(bytes, readDesigns);
}

// The design as the writer stores it: texts cut to their fields, copies kept
// within a byte's 1..255.
VoucherDesign stored(VoucherDesign d)
{
    d.Name = asStoredInField(d.Name, NameUnits);
    d.Printer = asStoredInField(d.Printer, NameUnits);
    d.Copies = qBound(1, d.Copies, 255);
    for (DesignGraphic &g : d.Graphics)
        g.Source = asStoredInField(g.Source, SourceUnits);
    for (DesignText &t : d.Texts) {
        t.Text = asStoredInField(t.Text, TextUnits);
        t.FontFace = asStoredInField(t.FontFace, TextUnits);
    }
    return d;
}

VoucherDesign probeFromInput(const QByteArray &input)
{
    const qsizetype size = input.size();
    const qsizetype length = NameUnits - 2 + size % 4;
    VoucherDesign d;
    d.Name = textFromInput(input, length);
    d.Printer = textFromInput(input.sliced(size > 1 ? 1 : 0), length);
    d.Width = qint32(numberFromInput(input, 0));
    d.Height = qint32(numberFromInput(input, 4));
    d.Margin = qint32(numberFromInput(input, 8));
    d.Copies = qint32(numberFromInput(input, 12));
    d.FillPage = size % 2;
    DesignGraphic g;
    g.Source = textFromInput(input, SourceUnits - 2 + size % 4);
    setKindWord(g, quint32(numberFromInput(input, 16)));
    g.X = qint32(numberFromInput(input, 20));
    g.Attributes = quint32(numberFromInput(input, 24));
    g.Colour = quint32(numberFromInput(input, 28));
    d.Graphics.append(g);
    DesignText t;
    t.Text = textFromInput(input.sliced(size > 2 ? 2 : 0), length);
    t.FontFace = textFromInput(input.sliced(size > 3 ? 3 : 0), length + 1);
    t.FontSize = qint32(numberFromInput(input, 32));
    t.Bold = size % 3 == 0;
    t.Italic = size % 5 == 0;
    t.Align = quint8(numberFromInput(input, 36));
    t.Rotation = quint8(numberFromInput(input, 37));
    t.Y = qint32(numberFromInput(input, 40));
    d.Texts.append(t);
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<VoucherDesign> designs = valuesOf(readAll(input));

    qsizetype elements = 0;
    for (const VoucherDesign &d : designs) {
        require(d.Copies >= 1 && d.Copies <= 255, "copies read are within 1..255");
        require(d == stored(d), "what is read fits the fields it is written to");
        elements += d.Graphics.size() + d.Texts.size();
    }
    // The smallest record has 120 bytes; a first-generation design adds its
    // background image to what was read.
    require((designs.size() + elements) * 120 <= input.size() + designs.size() * 120,
            "no more designs and elements than records");

    QList<VoucherDesign> written = designs;
    written.append(probeFromInput(input));
    const QByteArray bytes = serializeDesigns(listOf(written));
    qsizetype expectedSize = 0;
    for (const VoucherDesign &d : written)
        expectedSize += HeaderSize + GraphicSize * d.Graphics.size() + TextSize * d.Texts.size();
    require(bytes.size() == expectedSize, "a header, graphic and text record of fixed size each");

    require(readsWhole(bytes, readDesigns), "what the writer makes reads whole");
    const bool inputWhole = readsWhole(input, readDesigns);
    require(!inputWhole || readsWhole(bytes + input, readDesigns),
            "after whole designs, a whole file stays whole");
    const DesignList reread = readAll(bytes);
    QList<VoucherDesign> expected;
    for (const VoucherDesign &d : written)
        expected.append(stored(d));
    require(valuesOf(reread) == expected, "designs read back as written, texts cut, copies within 1..255");
    // Cutting what was already cut changes nothing: what came from the file
    // writes the same bytes the second time.
    const QByteArray fromFile = serializeDesigns(reread.first(designs.size()));
    require(fromFile == bytes.first(fromFile.size()), "writing what was read back gives the same bytes");
    return 0;
}
