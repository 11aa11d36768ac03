#include "routerinfo.h"

#include "expirationscript.h"
#include "routercommand.h"
#include "routersession.h"

#include "base/operatorinteraction.h"
#include "config/routerconfig.h"
#include "generation/voucherprofile.h"
#include "routeros/session.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Leading decimal digits, as atoi reads them (none gives 0).
qint64 leadingNumber(QStringView text)
{
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9' || value > 1'000'000'000'000LL)
            break;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

qint32 clampPrice(qint64 value)
{
    return qint32(
        std::clamp<qint64>(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

struct ProfileListing
{
    QString command;
    QString priceKey;
    QString validityKey;
    QString ownerKey;
};

ProfileListing profileListing(const RouterInfo &info)
{
    if (info.Major == 4)
        return {u"/tool/user-manager/credit/print"_s, u"=full-price="_s, u"=time="_s, u"=subscriber="_s};
    if (isRouterOs7(info))
        return {u"/user-manager/profile/print"_s, u"=price="_s, u"=validity="_s, u"=owner="_s};
    return {u"/tool/user-manager/profile/print"_s, u"=price="_s, u"=validity="_s, u"=owner="_s};
}

// Adds the router's User Manager profiles of the customer to the list.
void listUserManagerProfiles(ApiTransport &transport, const RouterInfo &info, const PriceFormat &priceFormat,
                             ProfileList &profiles)
{
    const ProfileListing listing = profileListing(info);
    const ApiReply reply = runCommand(transport, {listing.command});
    const auto valueOf = [](const QByteArray &word, const QString &key) -> std::optional<QString> {
        const QByteArray k = key.toUtf8();
        const qsizetype at = word.indexOf(k);
        if (at < 0)
            return std::nullopt;
        return QString::fromUtf8(word.sliced(at + k.size()));
    };
    for (const ApiSentence &sentence : reply.sentences) {
        if (sentence.kind != ReplyKind::Other)
            continue;
        std::optional<QString> name, owner, price, validity;
        for (const QByteArray &word : sentence.words) {
            if (auto v = valueOf(word, u"=name="_s))
                name = v;
            if (auto v = valueOf(word, listing.ownerKey))
                owner = v;
            if (auto v = valueOf(word, listing.priceKey))
                price = v;
            if (auto v = valueOf(word, listing.validityKey))
                validity = v;
        }
        if (!name)
            continue;
        const QString &customer = info.Customer;
        if (owner && !customer.isEmpty() && owner->compare(customer, Qt::CaseInsensitive) != 0)
            continue;
        insertProfile(profiles, makeVoucherProfile(*name, price ? parseUserManagerPrice(*price, info) : 0,
                                                   validity.value_or(QString()), priceFormat));
    }
}

// The first customer the router lists, when none is configured.
void readFirstCustomer(RouterInfo &info, ApiTransport &transport)
{
    const ApiReply reply = runCommand(transport, {u"/tool/user-manager/customer/print"_s});
    if (reply.sentences.size() >= 2 && reply.sentences[0].kind == ReplyKind::Other) {
        if (std::optional<QString> login = attributeValue(reply.sentences[0], u"=login="_s))
            info.Customer = *login;
    }
}

// Every "=name=" of the data sentences, in reply order.
QStringList namesIn(const ApiReply &reply)
{
    static const QByteArray key = "=name=";
    QStringList names;
    for (const ApiSentence &sentence : reply.sentences) {
        if (sentence.kind != ReplyKind::Other)
            continue;
        for (const QByteArray &word : sentence.words) {
            const qsizetype at = word.indexOf(key);
            if (at >= 0)
                names.append(decodeRouterText(word.sliced(at + key.size())));
        }
    }
    return names;
}

} // namespace

void readRouterVersion(ApiTransport &transport, RouterInfo &info)
{
    static const QByteArray key = "=version=";
    const ApiReply reply = runCommand(transport, {u"/system/resource/print"_s});
    for (const ApiSentence &sentence : reply.sentences) {
        if (sentence.kind != ReplyKind::Other)
            continue;
        for (const QByteArray &word : sentence.words) {
            const qsizetype at = word.indexOf(key);
            if (at < 0)
                continue;
            info.Major = qint32(leadingNumber(QString::fromUtf8(word.sliced(at + key.size()))));
            const qsizetype dot = word.indexOf('.');
            if (dot >= 0)
                info.Minor = qint32(leadingNumber(QString::fromUtf8(word.sliced(dot + 1))));
            break;
        }
    }
}

qint32 parseUserManagerPrice(const QString &text, const RouterInfo &info)
{
    const bool decimal = info.Major > 6 || (info.Major == 6 && info.Minor >= 18);
    if (!decimal)
        return clampPrice(leadingNumber(text));
    const qsizetype dot = text.indexOf(u'.');
    qint64 price = leadingNumber(dot < 0 ? QStringView(text) : QStringView(text).first(dot)) * 100;
    if (dot >= 0) {
        // Hundredths: "5" is 50, "05" is 5; digits past the second are below a
        // hundredth and dropped ("10.500" is 10.50).
        QStringView fraction = QStringView(text).sliced(dot + 1);
        qsizetype digits = 0;
        while (digits < fraction.size() && fraction[digits] >= u'0' && fraction[digits] <= u'9')
            ++digits;
        fraction = fraction.first(qMin<qsizetype>(digits, 2));
        qint64 hundredths = leadingNumber(fraction);
        for (qsizetype missing = fraction.size(); missing < 2; ++missing)
            hundredths *= 10;
        price += hundredths;
    }
    return clampPrice(price);
}

bool readRouterInformation(const RouterConfig &router, const QList<HotSpotProfile> &hotSpotProfiles,
                           const PriceFormat &priceFormat, qint64 scriptInterval, RouterInfo &info,
                           ProfileList &profiles, OperatorInteraction &interaction)
{
    const bool sellsHotSpot = router.EnableHotSpotProfiles && !hotSpotProfiles.isEmpty();
    if (sellsHotSpot) {
        for (const HotSpotProfile &hotSpot : hotSpotProfiles)
            insertProfile(profiles, makeVoucherProfile(hotSpot, priceFormat));
    }

    ApiConnection connection;
    if (!openSession(connection, router, interaction))
        return false;
    ApiTransport &transport = *connection.transport;
    readRouterVersion(transport, info);
    if (router.EnableUserManagerProfiles) {
        info.Customer = router.UserManagerAdmin.trimmed();
        listUserManagerProfiles(transport, info, priceFormat, profiles);
        if (info.Customer.isEmpty() && !isRouterOs7(info))
            readFirstCustomer(info, transport);
    }
    if (sellsHotSpot)
        uploadExpirationScript(transport, scriptInterval, false, interaction);
    closeSession(connection);
    return true;
}

std::optional<HotSpotNames> listHotSpotNames(const QList<RouterConfig> &routers,
                                             OperatorInteraction &interaction)
{
    const auto router = std::find_if(routers.begin(), routers.end(),
                                     [](const RouterConfig &r) { return r.EnableHotSpotProfiles; });
    if (router == routers.end()) {
        interaction.showMessage(
            QCoreApplication::translate("RouterInformation",
                                        "Ele não encontrou um roteador com perfis hotspot ativado."),
            MessageIcon::Warning);
        return std::nullopt;
    }
    WaitCursor wait(interaction);
    ApiConnection connection;
    if (!openSession(connection, *router, interaction))
        return std::nullopt;
    HotSpotNames names;
    names.profiles = namesIn(runCommand(*connection.transport, {u"/ip/hotspot/user/profile/print"_s}));
    names.servers = namesIn(runCommand(*connection.transport, {u"/ip/hotspot/print"_s}));
    closeSession(connection);
    return names;
}
