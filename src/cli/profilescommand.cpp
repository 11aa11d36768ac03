#include "profilescommand.h"

#include "clilogin.h"
#include "exitcodes.h"

#include "app/appstate.h"
#include "app/operatorinteraction.h"
#include "router/routerinfo.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

QString profileLine(const VoucherProfile &profile)
{
    // Designs are not assigned yet, so the design column stays empty.
    return QStringList{
        profile.HotSpot ? u"HS"_s : u"UM"_s, profile.Title,     profile.Validity, profile.ValidityDisplay,
        QString::number(profile.Price),      profile.PriceText, QString()}
        .join(u'\t');
}

int runProfilesCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction,
                       QTextStream &out)
{
    if (std::optional<int> failed = logInAsOperator(state, options, interaction))
        return *failed;
    WaitCursor wait(interaction);
    if (!readRouterInformation(state, interaction))
        return ExitFailed;
    for (const auto &profile : state.profiles)
        out << profileLine(*profile) << '\n';
    return ExitDone;
}
