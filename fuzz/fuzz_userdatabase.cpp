// UserDatabase.bin from any bytes: reading never fails badly, the names read
// are written and read back unchanged (NULs and lone surrogates included), and
// whether a file read whole is told consistently.

#include "fuzzcheck.h"
#include "readfrombytes.h"

#include "config/userdatabasefile.h"

namespace {

// A name of 999 units is the longest the writer keeps: its byte count must stay
// below 2000, where a reader stops.
constexpr qsizetype MaxNameUnits = 999;

QStringList readAll(const QByteArray &bytes)
{
    return readFromBytes(bytes, readUserDatabase);
}

bool whole(const QByteArray &bytes)
{
    return readsWhole(bytes, readUserDatabase);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList names = readAll(input);
    for (const QString &name : names)
        require(name.size() <= MaxNameUnits, "a name read is at most 999 units");

    // A name from the input around the limit, and one after it that must not be
    // lost behind it.
    QStringList written = names;
    written.append(textFromInput(input, MaxNameUnits - 1 + qsizetype(size % 4)));
    written.append(textFromInput(input, size % 7));

    const QByteArray bytes = serializeUserDatabase(written);
    const QStringList reread = readAll(bytes);
    require(reread.size() == written.size(), "every written name is read back");
    require(reread.first(names.size()) == names, "names read from a file read back unchanged");
    for (qsizetype i = names.size(); i < written.size(); ++i)
        require(reread[i] == cutTextKeepingPairs(written[i], MaxNameUnits),
                "a long name is cut to 999 units");
    require(serializeUserDatabase(reread) == bytes, "writing what was read back gives the same bytes");

    require(readAll(bytes + input) == reread + names, "a file after whole names reads on its own");
    const QStringList partial = readAll(input.first(cutPoint(input)));
    require(partial.size() <= names.size() && partial == names.first(partial.size()),
            "a file cut short reads the names before the cut");

    // What the writer makes reads whole, and writing a whole file's names
    // back gives its bytes: nothing of it is lost on saving.
    const bool inputWhole = whole(input);
    require(whole(bytes), "what the writer makes reads whole");
    require(whole(bytes + input) == inputWhole,
            "after whole names, the rest decides whether a file is whole");
    require(!inputWhole || serializeUserDatabase(names) == input,
            "a whole file is written back byte for byte");
    require(!whole(input + input.first(size % 2)) || size % 2 == 0 || !inputWhole,
            "a stray byte after whole names is damage");
    return 0;
}
