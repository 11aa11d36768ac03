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
#include "generation/voucherjournal.h"
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
    record->Generator = context.generator;
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
    bool unanswered = false;
    for (int attempt = 0; attempt < Attempts && !unanswered; ++attempt) {
        // A refused random name is replaced; a given name and the password stay.
        if (attempt > 0)
            makeUserName(*record,
                         record->RandomName ? std::nullopt : std::optional<QString>(record->UserName),
                         context.settings);
        // Written down before the router gets it, so it is recorded whatever
        // happens next.
        if (!context.journal.recordVoucher(*record)) {
            removeVoucherRecord(context.batch, *record);
            return false;
        }
        const ApiReply added = runCommand(transport, addCommand(*record, hotSpot, stamp));
        if (!answered(added)) {
            unanswered = true;
        } else if (addAccepted(added, message)) {
            const ApiReply readBack =
                runCommand(transport, {u"/ip/hotspot/user/print"_s, u"?name="_s + record->UserName});
            unanswered = !answered(readBack);
            if (findId(readBack)) {
                // Made: it stays in the batch even when it could not be recorded.
                context.journal.confirmVoucher(*record);
                return true;
            }
        }
    }
    // Without the router's answer it is not known whether it holds the
    // voucher: the journal keeps it as unconfirmed, with its serial.
    if (!unanswered)
        context.journal.withdrawVoucher(*record);
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
    // The look-up and the removal count only when answered "!done" without a
    // "!trap"; otherwise `failure` holds the router's words (empty when the
    // connection was lost or the router gave none).
    std::optional<QString> failure;
    const auto answered = [&failure](const ApiReply &reply) {
        bool trapped = false;
        QString message;
        for (const ApiSentence &sentence : reply.sentences) {
            if (sentence.kind != ReplyKind::Trap)
                continue;
            trapped = true;
            for (const QByteArray &word : sentence.words) {
                if (std::optional<QString> text = messageIn(word))
                    message = routerMessage(*text);
            }
        }
        if (!trapped && endsDone(reply))
            return true;
        failure = message;
        return false;
    };
    QStringList lookUp = {u"/ip/hotspot/user/print"_s, u"?name="_s + name};
    QString removal = u"/ip/hotspot/user/remove"_s;
    if (!hotSpot) {
        readRouterVersion(transport, info);
        const UserManagerCommands commands = userManagerCommands(info);
        lookUp = {commands.list, commands.nameQuery + name};
        removal = commands.remove;
    }
    std::optional<QString> id;
    const ApiReply found = runCommand(transport, lookUp);
    if (answered(found)) {
        id = findId(found);
        if (id)
            answered(runCommand(transport, {removal, u"=.id="_s + *id}));
    }
    closeSession(connection);
    if (failure) {
        interaction.showMessage(
            QCoreApplication::translate("HotSpotUsers", "Não foi possível excluir o usuário do roteador.") +
                (failure->isEmpty() ? QString() : u"\n"_s + *failure),
            MessageIcon::Error);
        return false;
    }
    if (!id) {
        interaction.showMessage(
            QCoreApplication::translate("HotSpotUsers",
                                        "Você não pode excluir o usuário. Usuário não encontrado."),
            MessageIcon::Error);
        return false;
    }
    return true;
}
