// Routers.bin from any bytes: reading never fails badly, what is read is
// written and read back as the writer promises, and whether a file read whole
// is told consistently.

#include "fuzzcheck.h"
#include "readfrombytes.h"

#include "config/routersfile.h"

namespace {

constexpr qsizetype TextUnits = 100;
constexpr qsizetype RecordSize = 1420;

QList<RouterConfig> readAll(const QByteArray &bytes)
{
    return readFromBytes(bytes, readRouters);
}

bool whole(const QByteArray &bytes)
{
    return readsWhole(bytes, readRouters);
}

// A field keeps at most 99 units, so that its terminating NUL fits; a NUL in
// the text ends it early.
RouterConfig stored(RouterConfig r)
{
    for (QString *text : {&r.Name, &r.Address, &r.Port, &r.ApiUser, &r.ApiPassword, &r.UserManagerAdmin})
        *text = asStoredInField(*text, TextUnits);
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<RouterConfig> routers = readAll(input);

    // Texts read from a file are at most 100 units; one router made from the
    // input has texts around the limit, to test the cut.
    QList<RouterConfig> written = routers;
    RouterConfig probe;
    const qsizetype length = TextUnits - 2 + qsizetype(size % 4);
    probe.Name = textFromInput(input, length);
    probe.Address = textFromInput(input.sliced(size > 0 ? 1 : 0), length);
    probe.Port = textFromInput(input, length / 2);
    probe.ApiUser = textFromInput(input.sliced(size > 2 ? 2 : 0), length + 1);
    probe.ApiPassword = textFromInput(input.sliced(size > 3 ? 3 : 0), length);
    probe.UserManagerAdmin = textFromInput(input, length - 1);
    probe.EnableHotSpotProfiles = size % 2;
    probe.EnableUserManagerProfiles = size % 3 == 0;
    probe.MacBinding = size % 5 == 0;
    written.append(probe);

    const QByteArray bytes = serializeRouters(written);
    require(bytes.size() == RecordSize * written.size(), "one record of 1420 bytes per router");
    const QList<RouterConfig> reread = readAll(bytes);
    require(reread.size() == written.size(), "every written router is read back");
    for (qsizetype i = 0; i < written.size(); ++i)
        require(reread[i] == stored(written[i]),
                "a router reads back as written, texts cut to 99 units or a NUL");
    // Cutting what was already cut changes nothing: what came from the file
    // writes the same bytes the second time.
    require(serializeRouters(reread.first(routers.size())) == bytes.first(RecordSize * routers.size()),
            "writing what was read back gives the same bytes");

    // Records are read one after the other: after whole records the rest of a
    // file reads as on its own, and a file cut short reads as a part of the whole.
    require(readAll(bytes + input) == reread + routers, "a file after whole records reads on its own");
    const QList<RouterConfig> partial = readAll(input.first(cutPoint(input)));
    require(partial.size() <= routers.size() && partial == routers.first(partial.size()),
            "a file cut short reads the routers before the cut");

    // What the writer makes reads whole; after it, the input decides alone.
    // Fewer than four bytes after whole records are damage.
    const bool inputWhole = whole(input);
    require(whole(bytes), "what the writer makes reads whole");
    require(whole(bytes + input) == inputWhole,
            "after whole records, the rest decides whether a file is whole");
    require(!whole(input + input.first(size % 4)) || size % 4 == 0 || !inputWhole,
            "stray bytes after whole records are damage");
    require(!whole(bytes.chopped(1 + qsizetype(size) % (RecordSize - 1))), "a router cut short is damage");
    return 0;
}
