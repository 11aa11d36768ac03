// The "UsersData" settings value from any bytes: parsing never fails badly, and
// the users parsed are written and parsed back as the writer promises.

#include "fuzzcheck.h"

#include "config/appuser.h"

namespace {

// Scrambled texts hold at most 199 units, never half of a surrogate pair.
constexpr qsizetype MaxScrambledUnits = 199;

QList<AppUser> parseAll(const QByteArray &bytes)
{
    QList<AppUser> users;
    parseUsers(bytes, users);
    return users;
}

AppUser stored(AppUser user)
{
    user.Name = cutTextKeepingPairs(user.Name, MaxScrambledUnits);
    user.Password = cutTextKeepingPairs(user.Password, MaxScrambledUnits);
    return user;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<AppUser> users = parseAll(input);

    // Texts parsed hold up to 200 units (older values); one user made from the
    // input has texts around the 199-unit limit.
    QList<AppUser> written = users;
    AppUser probe;
    probe.Name = textFromInput(input, MaxScrambledUnits - 1 + qsizetype(size % 4));
    probe.Password =
        textFromInput(input.sliced(size > 0 ? 1 : 0), MaxScrambledUnits + 1 - qsizetype(size % 3));
    probe.SettingsAccess = size % 2;
    probe.PosMode = size % 3 == 0;
    probe.FullScreen = size % 5 == 0;
    written.append(probe);

    const QByteArray bytes = serializeUsers(written);
    const QList<AppUser> reread = parseAll(bytes);
    require(reread.size() == written.size(), "every written user is parsed back");
    for (qsizetype i = 0; i < written.size(); ++i)
        require(reread[i] == stored(written[i]), "a user parses back as written, texts cut to 199 units");
    require(serializeUsers(reread) == bytes, "writing what was parsed back gives the same bytes");

    // Users are parsed one after the other: after whole users the rest of the
    // value parses as on its own.
    require(parseAll(bytes + input) == reread + users, "a value after whole users parses on its own");
    return 0;
}
