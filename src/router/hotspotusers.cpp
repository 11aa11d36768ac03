#include "hotspotusers.h"

#include "routercommand.h"
#include "routerinfo.h"
#include "routersession.h"
#include "usermanagercommands.h"
#include "vouchercontext.h"

#include "base/clock.h"
#include "base/operatorinteraction.h"
#include "config/appsettings.h"
#include "config/routerconfig.h"
#include "generation/credentials.h"
#include "generation/duration.h"
#include "generation/newvoucher.h"
#include "generation/voucherprofile.h"
#include "routeros/session.h"

#include <QCoreApplication>
#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

constexpr int Attempts = 10;

QStringList addCommand(const VoucherRecord &record, const HotSpotProfile &hotSpot, const QString &stamp)
{
    QStringList words = {u"/ip/hotspot/user/add"_s, u"=name="_s + record.UserName,
                         u"=password="_s + record.Password, u"=profile="_s + hotSpot.RouterProfile};
    if (!hotSpot.Server.isEmpty())
        words << u"=server="_s + hotSpot.Server;
    words << u"=comment="_s + stamp;
    if (hotSpot.LimitUptime != 0)
        words << u"=limit-uptime="_s + formatDuration(hotSpot.LimitUptime, true);
    if (!hotSpot.LimitBytesIn.isEmpty())
        words << u"=limit-bytes-in="_s + hotSpot.LimitBytesIn;
    if (!hotSpot.LimitBytesOut.isEmpty())
        words << u"=limit-bytes-out="_s + hotSpot.LimitBytesOut;
    if (!hotSpot.LimitBytesTotal.isEmpty())
        words << u"=limit-bytes-total="_s + hotSpot.LimitBytesTotal;
    return words;
}

// Whether the add was accepted: a "!done" carrying the new id. Refusals leave
// their text in `message`.
bool addAccepted(const ApiReply &reply, QString &message)
{
    bool accepted = false;
    for (const ApiSentence &sentence : reply.sentences) {
        for (const QByteArray &word : sentence.words) {
            if (sentence.kind == ReplyKind::Done && word.contains("=ret=")) {
                accepted = true;
                break;
            }
            if (std::optional<QString> text = messageIn(word))
                message = routerMessage(*text);
        }
    }
    return accepted;
}

std::optional<QString> hotSpotUserId(ApiTransport &transport, const QString &name)
{
    return findId(runCommand(transport, {u"/ip/hotspot/user/print"_s, u"?name="_s + name}));
}

} // namespace

QString expiryStamp(qint64 expires)
{
    return QDateTime::fromSecsSinceEpoch(expires).toLocalTime().toString(u"yyyyMMddHHmm"_s);
}

bool createHotSpotVoucher(const VoucherContext &context, std::shared_ptr<const VoucherProfile> profile,
                          const std::optional<QString> &givenName)
{
    const HotSpotProfile hotSpot = profile->HotSpot.value_or(HotSpotProfile{});
    VoucherRecord *record =
        startVoucher(context.batch, context.settings, context.prompt, profile, givenName, true);
    if (!record)
        return false;
    ApiTransport &transport = context.transport;
    OperatorInteraction &interaction = context.interaction;

    // A given name that is already taken is replaced only when the operator
    // says so; the name may have been edited in the prompt.
    if (givenName) {
        if (const std::optional<QString> id = hotSpotUserId(transport, record->UserName)) {
            const Answer answer = interaction.askYesNo(
                QCoreApplication::translate(
                    "HotSpotUsers",
                    "O usuário já existe no roteador. Você deseja substituir o usuário existente?"),
                MessageIcon::Question);
            if (answer != Answer::Yes) {
                removeVoucherRecord(context.batch, *record);
                return false;
            }
            runCommand(transport, {u"/ip/hotspot/user/remove"_s, u"=.id="_s + *id});
        }
    }

    record->Created = context.clock.now();
    record->Expires = record->Created + hotSpot.Validity;
    const QString stamp = expiryStamp(record->Expires);
    QString message;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        // A refused random name is replaced; a given name and the password stay.
        if (attempt > 0)
            makeUserName(*record,
                         record->RandomName ? std::nullopt : std::optional<QString>(record->UserName),
                         context.settings);
        if (addAccepted(runCommand(transport, addCommand(*record, hotSpot, stamp)), message) &&
            hotSpotUserId(transport, record->UserName)) {
            finishVoucher(*record, context.settings, context.generator);
            return true;
        }
    }
    removeVoucherRecord(context.batch, *record);
    interaction.showMessage(
        QCoreApplication::translate("HotSpotUsers", "Ocorreu um erro durante a criação do usuário.") +
            (message.isEmpty() ? QString() : u"\n"_s + message),
        MessageIcon::Error);
    return false;
}

bool removeRouterUser(const RouterConfig &router, const QString &name, bool hotSpot, RouterInfo &info,
                      OperatorInteraction &interaction)
{
    WaitCursor wait(interaction);
    ApiConnection connection;
    if (!openSession(connection, router, interaction))
        return false;
    ApiTransport &transport = *connection.transport;
    std::optional<QString> id;
    if (hotSpot) {
        id = hotSpotUserId(transport, name);
        if (id)
            runCommand(transport, {u"/ip/hotspot/user/remove"_s, u"=.id="_s + *id});
    } else {
        readRouterVersion(transport, info);
        const UserManagerCommands commands = userManagerCommands(info);
        id = findId(runCommand(transport, {commands.list, commands.nameQuery + name}));
        if (id)
            runCommand(transport, {commands.remove, u"=.id="_s + *id});
    }
    closeSession(connection);
    if (!id) {
        interaction.showMessage(
            QCoreApplication::translate("HotSpotUsers",
                                        "Você não pode excluir o usuário. Usuário não encontrado."),
            MessageIcon::Error);
        return false;
    }
    return true;
}
