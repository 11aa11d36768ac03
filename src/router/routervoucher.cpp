#include "routervoucher.h"

#include "routercommand.h"
#include "routerinfo.h"
#include "usermanagercommands.h"
#include "usermanagerprofilestep.h"

using namespace Qt::StringLiterals;

namespace {

// The value of the first "=key=" word of the reply's data sentences.
std::optional<QString> valueIn(const ApiReply &reply, const QByteArray &key)
{
    const QByteArray prefix = '=' + key + '=';
    for (const ApiSentence &sentence : reply.sentences) {
        if (sentence.kind != ReplyKind::Other)
            continue;
        for (const QByteArray &word : sentence.words) {
            if (word.startsWith(prefix))
                return decodeRouterText(word.sliced(prefix.size()));
        }
    }
    return std::nullopt;
}

// Whether a data sentence of the reply has "=key=" with the value (ignoring
// case, as the router matches profile names); any value when it is empty.
bool hasValue(const ApiReply &reply, const QByteArray &key, const QString &value)
{
    const QByteArray prefix = '=' + key + '=';
    for (const ApiSentence &sentence : reply.sentences) {
        if (sentence.kind != ReplyKind::Other)
            continue;
        for (const QByteArray &word : sentence.words) {
            if (!word.startsWith(prefix))
                continue;
            const QString found = decodeRouterText(word.sliced(prefix.size()));
            if (value.isEmpty() ? !found.isEmpty() : found.compare(value, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

RouterVoucher checkRouterVoucher(ApiTransport &transport, const RouterInfo &info, const QString &name,
                                 const QString &password, bool hotSpot, const QString &profileName)
{
    const UserManagerCommands commands = userManagerCommands(info);
    const ApiReply user =
        runCommand(transport, hotSpot ? QStringList{u"/ip/hotspot/user/print"_s, u"?name="_s + name}
                                      : QStringList{commands.list, commands.nameQuery + name});
    if (!answered(user))
        return {};
    const std::optional<QString> id = findId(user);
    if (!id)
        return {RouterVoucher::State::Absent, {}};
    // A user of that name with another password was made by someone else:
    // this voucher's add never took. (The journal may hold a long password
    // cut to what the history keeps: it starts the router's.)
    const std::optional<QString> shownPassword = valueIn(user, "password");
    if (shownPassword && !shownPassword->startsWith(password))
        return {RouterVoucher::State::Absent, {}};
    if (hotSpot || !hasUserManagerProfileStep(info))
        return {RouterVoucher::State::Usable, *id};
    if (isRouterOs7(info)) {
        const ApiReply assigned =
            runCommand(transport, {u"/user-manager/user-profile/print"_s, u"?user="_s + name});
        if (!answered(assigned))
            return {RouterVoucher::State::Unknown, *id};
        return {hasValue(assigned, "profile", profileName) ? RouterVoucher::State::Usable
                                                           : RouterVoucher::State::Incomplete,
                *id};
    }
    return {hasValue(user, "actual-profile", profileName) ? RouterVoucher::State::Usable
                                                          : RouterVoucher::State::Incomplete,
            *id};
}

bool completeRouterVoucher(ApiTransport &transport, const RouterInfo &info, const QString &name,
                           const QString &id, const QString &profileName)
{
    if (profileName.isEmpty() || !hasUserManagerProfileStep(info))
        return false;
    QString error;
    return profileStepAccepted(runCommand(transport, userManagerProfileStep(info, name, id, profileName)),
                               error);
}

bool removeRouterVoucher(ApiTransport &transport, const RouterInfo &info, const QString &id, bool hotSpot)
{
    const QString remove = hotSpot ? u"/ip/hotspot/user/remove"_s : userManagerCommands(info).remove;
    const ApiReply reply = runCommand(transport, {remove, u"=.id="_s + id});
    const bool trapped = std::any_of(reply.sentences.cbegin(), reply.sentences.cend(),
                                     [](const ApiSentence &s) { return s.kind == ReplyKind::Trap; });
    return endsDone(reply) && !trapped;
}
