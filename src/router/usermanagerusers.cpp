#include "usermanagerusers.h"

#include "routercommand.h"
#include "routerinfo.h"
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

#include <QCoreApplication>
#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

constexpr int Passes = 2;
constexpr int RandomNameAttempts = 10;
constexpr int Verifications = 2;

QString assignmentMessage(const QString &message)
{
    return QCoreApplication::translate(
               "UserManagerUsers", "Não é possível atribuir perfil de usuário. Resposta do Router \"%1\".")
        .arg(message);
}

QStringList addCommand(const VoucherContext &context, const UserManagerCommands &commands,
                       const VoucherRecord &record, const VoucherProfile &profile)
{
    const RouterInfo &info = context.info;
    const bool below7 = !isRouterOs7(info);
    QStringList words = {commands.add, commands.nameAttribute + record.UserName,
                         u"=password="_s + record.Password};
    if (info.Major == 4)
        words << u"=subscriber="_s + info.Customer << u"=add-credit="_s + profile.Name;
    else if (below7)
        words << u"=customer="_s + info.Customer;
    if (below7) {
        const std::pair<QString, QString> personal[] = {
            {u"=first-name="_s, record.FirstName}, {u"=last-name="_s, record.LastName},
            {u"=phone="_s, record.Phone},          {u"=location="_s, record.Location},
            {u"=email="_s, record.Email},
        };
        for (const auto &[key, value] : personal) {
            if (!value.isEmpty())
                words << key + value;
        }
    }
    if (context.router.MacBinding)
        words << u"=caller-id=bind"_s;
    if (!record.Comment.isEmpty())
        words << u"=comment="_s + record.Comment;
    return words;
}

// The new user's id when the add was accepted; refusals leave their text in
// `error`.
std::optional<QString> addedId(const ApiReply &reply, QString &error)
{
    static const QByteArray ret = "=ret=";
    std::optional<QString> id;
    for (const ApiSentence &sentence : reply.sentences) {
        for (const QByteArray &word : sentence.words) {
            const qsizetype at = word.indexOf(ret);
            if (sentence.kind == ReplyKind::Done && at >= 0)
                id = QString::fromUtf8(word.sliced(at + ret.size()));
            else if (std::optional<QString> text = messageIn(word))
                error = routerMessage(*text);
        }
    }
    return id;
}

// Assignment and activation: a "!done" accepts, any "=message=" refuses.
bool profileAssigned(const ApiReply &reply, QString &error)
{
    error.clear();
    bool done = false;
    bool refused = false;
    for (const ApiSentence &sentence : reply.sentences) {
        done = done || sentence.kind == ReplyKind::Done;
        for (const QByteArray &word : sentence.words) {
            if (std::optional<QString> text = messageIn(word)) {
                error = assignmentMessage(*text);
                refused = true;
            }
        }
    }
    return done && !refused;
}

bool hasActualProfile(const ApiReply &reply, const QString &profileName)
{
    for (const ApiSentence &sentence : reply.sentences) {
        for (const QByteArray &word : sentence.words) {
            static const QByteArray key = "=actual-profile=";
            const qsizetype at = word.indexOf(key);
            if (at >= 0 &&
                QString::fromUtf8(word.sliced(at + key.size())).compare(profileName, Qt::CaseInsensitive) ==
                    0)
                return true;
        }
    }
    return false;
}

// Reads the new user back, rebuilding the User Manager database once when the
// first look does not find it.
bool verified(ApiTransport &transport, const std::function<bool()> &check)
{
    for (int i = 0; i < Verifications; ++i) {
        if (check())
            return true;
        if (i + 1 < Verifications)
            runCommand(transport, {u"/tool/user-manager/database/rebuild"_s});
    }
    return false;
}

// After the add: assignment (RouterOS 7), activation (5 and 6), and the
// optional read-back. True when the voucher is complete.
// `unanswered` tells that an answer never came: whether the voucher is complete
// is then not known.
bool completeUser(const VoucherContext &context, const UserManagerCommands &commands,
                  const VoucherRecord &record, const VoucherProfile &profile, const QString &id,
                  QString &error, bool &unanswered)
{
    ApiTransport &transport = context.transport;
    const auto ask = [&](const QStringList &words) {
        ApiReply reply = runCommand(transport, words);
        unanswered = unanswered || !answered(reply);
        return reply;
    };
    const RouterInfo &info = context.info;
    const bool verify = context.settings.VerifyCreatedUser;
    if (info.Major == 4) {
        return !verify || verified(transport, [&] {
            return findId(ask({u"/tool/user-manager/user/print"_s, u"?name="_s + record.UserName}))
                .has_value();
        });
    }
    if (isRouterOs7(info)) {
        return profileAssigned(ask({u"/user-manager/user-profile/add"_s, u"=user="_s + record.UserName,
                                    u"=profile="_s + profile.Name}),
                               error);
    }
    const QString who = activatesByUserName(info) ? u"=user="_s + record.UserName : u"=numbers="_s + id;
    if (!profileAssigned(ask({u"/tool/user-manager/user/create-and-activate-profile"_s, who,
                              u"=customer="_s + info.Customer, u"=profile="_s + profile.Name}),
                         error))
        return false;
    return !verify || verified(transport, [&] {
        return hasActualProfile(ask({u"/tool/user-manager/user/print"_s, commands.nameQuery + record.UserName,
                                     u"?customer="_s + info.Customer}),
                                profile.Name);
    });
}

} // namespace

QString backupSuffix(qint64 now)
{
    return QDateTime::fromSecsSinceEpoch(now).toLocalTime().toString(u"_yyMMddHHmmss"_s);
}

bool createUserManagerVoucher(const VoucherContext &context, std::shared_ptr<const VoucherProfile> profile,
                              const std::optional<QString> &givenName)
{
    VoucherRecord *record =
        startVoucher(context.batch, context.settings, context.prompt, profile, givenName, false);
    if (!record)
        return false;
    record->Generator = context.generator;
    ApiTransport &transport = context.transport;
    OperatorInteraction &interaction = context.interaction;
    const UserManagerCommands commands = userManagerCommands(context.info);

    if (givenName) {
        QStringList list = {commands.list, commands.nameQuery + record->UserName};
        if (!commands.ownerQuery.isEmpty())
            list << commands.ownerQuery + context.info.Customer;
        if (const std::optional<QString> id = findId(runCommand(transport, list))) {
            switch (interaction.askYesNoCancel(
                QCoreApplication::translate(
                    "UserManagerUsers",
                    "User already exists in the router. Do you want to backup this user?"),
                MessageIcon::Question)) {
            case Answer::Yes:
                runCommand(transport,
                           {commands.rename, u"=.id="_s + *id,
                            commands.nameAttribute + record->UserName + backupSuffix(context.clock.now())});
                break;
            case Answer::No:
                runCommand(transport, {commands.remove, u"=.id="_s + *id});
                break;
            case Answer::Cancel:
                removeVoucherRecord(context.batch, *record);
                return false;
            }
        }
    }

    const int attempts = record->RandomName ? RandomNameAttempts : 1;
    QString error;
    bool first = true;
    bool unanswered = false;
    for (int pass = 0; pass < Passes && !unanswered; ++pass) {
        for (int attempt = 0; attempt < attempts && !unanswered; ++attempt) {
            if (!first)
                makeUserName(*record,
                             record->RandomName ? std::nullopt : std::optional<QString>(record->UserName),
                             context.settings);
            first = false;
            // Written down before the router gets it, so it is recorded
            // whatever happens next.
            record->Created = context.clock.now();
            record->Expires = record->Created + parseDuration(profile->Validity);
            if (!context.journal.recordVoucher(*record)) {
                removeVoucherRecord(context.batch, *record);
                return false;
            }
            const ApiReply added = runCommand(transport, addCommand(context, commands, *record, *profile));
            unanswered = !answered(added);
            const std::optional<QString> id = addedId(added, error);
            if (!id)
                continue;
            if (!completeUser(context, commands, *record, *profile, *id, error, unanswered))
                break; // the pass has failed
            record->Created = context.clock.now();
            record->Expires = record->Created + parseDuration(profile->Validity);
            // Made: it stays in the batch even when it could not be recorded.
            context.journal.confirmVoucher(*record);
            return true;
        }
    }
    // Without the router's answer it is not known whether it holds the
    // voucher: the journal keeps it as unconfirmed, with its serial.
    if (!unanswered)
        context.journal.withdrawVoucher(*record);
    removeVoucherRecord(context.batch, *record);
    interaction.showMessage(
        QCoreApplication::translate("UserManagerUsers", "Ocorreu um erro durante a criação do usuário.") +
            (error.isEmpty() ? QString() : u"\n"_s + error),
        MessageIcon::Error);
    return false;
}
