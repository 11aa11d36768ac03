#include "hotspotusers.h"

#include "routercommand.h"
#include "routerinfo.h"
#include "routersession.h"
#include "usermanagercommands.h"
#include "vouchercontext.h"
#include "vouchersteps.h"

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

    return runVoucherSteps(context, *profile, *record);
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
