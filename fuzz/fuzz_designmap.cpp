// Design map files from any bytes: reading never fails badly, a file cut short
// reads the entries before the cut, applying a map leaves every profile with a
// design of the list, and a map written from profiles gives each profile
// (that its kind and title tell apart) its design again.

#include "fuzzcheck.h"
#include "readfrombytes.h"

#include "design/designmapfile.h"

namespace {

constexpr qsizetype TextUnits = 100;
constexpr qsizetype RecordSize = 408;

QList<DesignMapEntry> readAll(const QByteArray &bytes)
{
    return readFromBytes(bytes, readDesignMap);
}

QString stored(const QString &text)
{
    return asStoredInField(text, TextUnits);
}

// Whether the file tells the two profiles apart: by kind, and by title in any
// case as the field holds it.
bool sameEntry(const VoucherProfile &a, const VoucherProfile &b)
{
    return a.HotSpot.has_value() == b.HotSpot.has_value() &&
           stored(a.Title).compare(stored(b.Title), Qt::CaseInsensitive) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<DesignMapEntry> entries = readAll(input);
    for (const DesignMapEntry &e : entries)
        require(e.Title.size() < TextUnits && e.DesignName.size() < TextUnits, "texts fit their fields");
    const QList<DesignMapEntry> partial = readAll(input.first(cutPoint(input)));
    require(partial.size() <= entries.size() && partial == entries.first(partial.size()),
            "a file cut short reads the entries before the cut");

    // Profiles and designs named by the entries, and one of each made from the
    // input with texts around the field's length.
    DesignList designs;
    ProfileList profiles;
    const auto addDesign = [&](const QString &name) {
        designs.append(std::make_shared<VoucherDesign>());
        designs.back()->Name = name;
    };
    const auto addProfile = [&](const QString &title, bool hotSpot) {
        auto profile = std::make_shared<VoucherProfile>();
        profile->Title = title;
        if (hotSpot)
            profile->HotSpot = HotSpotProfile{};
        profiles.append(profile);
    };
    for (const DesignMapEntry &e : entries) {
        addDesign(e.DesignName);
        addProfile(e.Title, e.HotSpot);
    }
    const qsizetype length = TextUnits - 2 + qsizetype(size % 4);
    addDesign(textFromInput(input, length));
    addProfile(textFromInput(input.sliced(size > 1 ? 1 : 0), length), size % 2);

    applyDesignMap(entries, profiles, designs);
    for (const auto &profile : profiles)
        require(std::any_of(designs.begin(), designs.end(),
                            [&](const auto &design) { return design.get() == profile->Design; }),
                "every profile prints with a design of the list");

    // The profiles' designs in turn, and the map written from them.
    for (qsizetype i = 0; i < profiles.size(); ++i)
        profiles[i]->Design = designs[(i * 7 + qsizetype(size)) % designs.size()].get();
    const QByteArray bytes = serializeDesignMap(profiles);
    require(bytes.size() == RecordSize * profiles.size(), "one record of 408 bytes per profile");
    const QList<DesignMapEntry> reread = readAll(bytes);
    require(reread.size() == profiles.size(), "every profile has its entry");
    for (qsizetype i = 0; i < profiles.size(); ++i)
        require(reread[i] == DesignMapEntry{profiles[i]->HotSpot.has_value(), stored(profiles[i]->Title),
                                            stored(profiles[i]->Design->Name)},
                "an entry holds the kind, title and design name of its profile");

    ProfileList fresh;
    for (const auto &profile : profiles) {
        fresh.append(std::make_shared<VoucherProfile>(*profile));
        fresh.back()->Design = nullptr;
    }
    applyDesignMap(reread, fresh, designs);
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        const auto sameIdentity = [&](const auto &p) { return sameEntry(*p, *profiles[i]); };
        const auto sameName = [&](const auto &d) {
            return stored(d->Name).compare(stored(profiles[i]->Design->Name), Qt::CaseInsensitive) == 0;
        };
        const bool profileUnique = std::count_if(profiles.begin(), profiles.end(), sameIdentity) == 1;
        const bool nameUnique = std::count_if(designs.begin(), designs.end(), sameName) == 1;
        const bool named = !stored(profiles[i]->Design->Name).isEmpty();
        if (profileUnique && nameUnique && named)
            require(fresh[i]->Design == profiles[i]->Design, "a profile gets its design back from the map");
    }
    return 0;
}
