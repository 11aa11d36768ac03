#include "usermanagerusers.h"

#include "routercommand.h"
#include "routerinfo.h"
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

#include <QCoreApplication>
#include <QDateTime>

using namespace Qt::StringLiterals;

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

    return runVoucherSteps(context, *profile, *record);
}
