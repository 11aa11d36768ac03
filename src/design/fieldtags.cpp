#include "fieldtags.h"

#include "base/localedate.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"

using namespace Qt::StringLiterals;

namespace {

// In the order names are compared; the first equal one is the tag.
enum class Tag
{
    User,
    Password,
    Profile,
    Price,
    Date,
    Time,
    Generator,
    Serial,
    Validity,
    TillTime,
    FirstName,
    LastName,
    Phone,
    Location,
    Comment,
    Email
};

struct TagName
{
    QStringView name;
    Tag tag;
};

constexpr TagName TagNames[] = {
    {u"user", Tag::User},           {u"password", Tag::Password},   {u"profile", Tag::Profile},
    {u"price", Tag::Price},         {u"date", Tag::Date},           {u"time", Tag::Time},
    {u"generator", Tag::Generator}, {u"serial", Tag::Serial},       {u"validity", Tag::Validity},
    {u"tilltime", Tag::TillTime},   {u"firstname", Tag::FirstName}, {u"lastname", Tag::LastName},
    {u"phone", Tag::Phone},         {u"location", Tag::Location},   {u"comment", Tag::Comment},
    {u"email", Tag::Email},
};

// Only the letters A to Z are folded: other letters are never part of a tag.
QString foldAscii(QString name)
{
    for (QChar &c : name) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return name;
}

const TagName *findTag(const QString &collected)
{
    const QString folded = foldAscii(collected);
    for (const TagName &entry : TagNames) {
        if (folded == entry.name)
            return &entry;
    }
    return nullptr;
}

QString tagValue(Tag tag, const VoucherRecord &voucher)
{
    const VoucherProfile *profile = voucher.Profile.get();
    switch (tag) {
    case Tag::User:
        return voucher.UserName;
    case Tag::Password:
        return voucher.Password;
    case Tag::Profile:
        return profile ? profile->Title : QString();
    case Tag::Price:
        return profile ? profile->PriceText : QString();
    case Tag::Date:
        return formatLocalTime(voucher.Created, "%x");
    case Tag::Time:
        return formatLocalTime(voucher.Created, "%H:%M:%S");
    case Tag::Generator:
        return voucher.Generator;
    case Tag::Serial:
        return formatSerial(voucher.Serial);
    case Tag::Validity:
        return profile ? profile->ValidityDisplay : QString();
    case Tag::TillTime:
        return formatLocalTime(voucher.Expires, "%x %H:%M");
    case Tag::FirstName:
        return voucher.FirstName;
    case Tag::LastName:
        return voucher.LastName;
    case Tag::Phone:
        return voucher.Phone;
    case Tag::Location:
        return voucher.Location;
    case Tag::Comment:
        return voucher.Comment;
    case Tag::Email:
        return voucher.Email;
    }
    return {};
}

} // namespace

QString expandTags(const QString &text, const VoucherRecord *voucher)
{
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u'$' || i + 1 >= text.size() || text[i + 1] != u'{') {
            out += text[i++];
            continue;
        }
        // Tags do not nest: the name runs to the first closing brace.
        QString name;
        for (i += 2; i < text.size() && text[i] != u'}'; ++i) {
            if (text[i] != u' ')
                name += text[i];
        }
        ++i; // past the closing brace, or past the end
        if (const TagName *tag = findTag(name))
            out += voucher ? tagValue(tag->tag, *voucher) : tag->name.toString();
    }
    return out;
}
