// HotSpotProfiles.bin from any bytes, older record types included: reading never
// fails badly, what is read is written (as type 3) and read back as the writer
// promises, and whether a file read whole is told consistently.

#include "fuzzcheck.h"
#include "readfrombytes.h"

#include "config/hotspotprofilesfile.h"

namespace {

constexpr qsizetype TextUnits = 100;
constexpr qsizetype Type3Size = 1228;

QList<HotSpotProfile> readAll(const QByteArray &bytes)
{
    return readFromBytes(bytes, readHotSpotProfiles);
}

bool whole(const QByteArray &bytes)
{
    return readsWhole(bytes, readHotSpotProfiles);
}

HotSpotProfile stored(HotSpotProfile p)
{
    for (QString *text :
         {&p.Name, &p.RouterProfile, &p.Server, &p.LimitBytesIn, &p.LimitBytesOut, &p.LimitBytesTotal})
        *text = asStoredInField(*text, TextUnits);
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<HotSpotProfile> profiles = readAll(input);

    // One profile made from the input has texts around the 99-unit limit and
    // numbers of every size.
    QList<HotSpotProfile> written = profiles;
    HotSpotProfile probe;
    const qsizetype length = TextUnits - 2 + qsizetype(size % 4);
    probe.Name = textFromInput(input, length);
    probe.Validity = numberFromInput(input, 0);
    probe.LimitUptime = numberFromInput(input, 8);
    probe.RouterProfile = textFromInput(input.sliced(size > 0 ? 1 : 0), length);
    probe.Server = textFromInput(input.sliced(size > 2 ? 2 : 0), length + 1);
    probe.LimitBytesIn = textFromInput(input, length / 2);
    probe.LimitBytesOut = textFromInput(input.sliced(size > 3 ? 3 : 0), length);
    probe.LimitBytesTotal = textFromInput(input, length - 1);
    probe.Price = qint32(numberFromInput(input, 16));
    written.append(probe);

    const QByteArray bytes = serializeHotSpotProfiles(written);
    require(bytes.size() == Type3Size * written.size(), "one type 3 record of 1228 bytes per profile");
    const QList<HotSpotProfile> reread = readAll(bytes);
    require(reread.size() == written.size(), "every written profile is read back");
    for (qsizetype i = 0; i < written.size(); ++i)
        require(reread[i] == stored(written[i]),
                "a profile reads back as written, texts cut to 99 units or a NUL");
    // Cutting what was already cut changes nothing: what came from the file
    // writes the same bytes the second time.
    require(serializeHotSpotProfiles(reread.first(profiles.size())) ==
                bytes.first(Type3Size * profiles.size()),
            "writing what was read back gives the same bytes");

    require(readAll(bytes + input) == reread + profiles, "a file after whole records reads on its own");
    const QList<HotSpotProfile> partial = readAll(input.first(cutPoint(input)));
    require(partial.size() <= profiles.size() && partial == profiles.first(partial.size()),
            "a file cut short reads the profiles before the cut");

    // What the writer makes reads whole; after it, the input decides alone.
    const bool inputWhole = whole(input);
    require(whole(bytes), "what the writer makes reads whole");
    require(whole(bytes + input) == inputWhole,
            "after whole records, the rest decides whether a file is whole");
    require(!whole(input + input.first(size % 4)) || size % 4 == 0 || !inputWhole,
            "stray bytes after whole records are damage");
    require(!whole(bytes.chopped(1 + qsizetype(size) % (Type3Size - 1))), "a profile cut short is damage");
    return 0;
}
