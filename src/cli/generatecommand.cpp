#include "generatecommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"
#include "terminaluserdataprompt.h"
#include "voucheroutput.h"

#include "session/appstate.h"
#include "session/routerlogin.h"
#include "session/generationrun.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<const VoucherProfile> findProfile(const ProfileList &profiles, const QString &title)
{
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const auto &profile : profiles) {
            if (profile->Title.compare(title, cs) == 0)
                return profile;
        }
    }
    return nullptr;
}

QString localTime(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds).toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

void listText(const BatchList &batch, QTextStream &out)
{
    for (const VoucherRecord &record : batch) {
        out << QStringList{record.UserName,
                           record.Password,
                           formatSerial(record.Serial),
                           localTime(record.Created),
                           localTime(record.Expires),
                           record.HotSpotUser ? u"HS"_s : u"UM"_s}
                   .join(u'\t')
            << '\n';
    }
}

void listJson(const BatchList &batch, QTextStream &out)
{
    QJsonArray vouchers;
    for (const VoucherRecord &record : batch) {
        vouchers.append(QJsonObject{
            {u"user"_s, record.UserName},
            {u"password"_s, record.Password},
            {u"serial"_s, formatSerial(record.Serial)},
            {u"created"_s, localTime(record.Created)},
            {u"expires"_s, localTime(record.Expires)},
            {u"hotspot"_s, record.HotSpotUser},
            {u"profile"_s, record.Profile ? record.Profile->Title : QString()},
        });
    }
    out << QJsonDocument(vouchers).toJson(QJsonDocument::Indented);
}

} // namespace

int runGenerateCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction,
                       QTextStream &out)
{
    if (std::optional<int> failed = logInAsOperator(state, options, interaction))
        return *failed;
    if (!startRouterSession(state, interaction))
        return ExitFailed;

    const std::shared_ptr<const VoucherProfile> profile = findProfile(state.profiles, options.profile);
    if (!profile) {
        QTextStream(stderr) << u"wifiticketer-cli: no profile of the router is titled '%1'\n"_s.arg(
            options.profile);
        return ExitUsage;
    }
    // A wrong --design must stop the run before vouchers are made.
    const std::optional<const VoucherDesign *> design = chosenDesign(state, options, profile->Design);
    if (!design)
        return ExitUsage;
    TerminalUserDataPrompt prompt(state.settings, state.userNames);
    if (!runGeneration(state, interaction, prompt, profile, options.count, options.name))
        return ExitFailed;

    if (options.format == u"json")
        listJson(state.batch, out);
    else
        listText(state.batch, out);
    out.flush();
    QList<const VoucherRecord *> vouchers;
    for (const VoucherRecord &record : state.batch)
        vouchers.append(&record);
    const bool output = outputVouchers(**design, vouchers, false, options, interaction);
    return state.batch.size() < options.count || !output ? ExitFailed : ExitDone;
}
