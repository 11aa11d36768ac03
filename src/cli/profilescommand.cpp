#include "profilescommand.h"

#include "clilogin.h"
#include "exitcodes.h"

#include "session/appstate.h"
#include "base/operatorinteraction.h"
#include "session/routerlogin.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

QString profileLine(const VoucherProfile &profile)
{
    return QStringList{profile.HotSpot ? u"HS"_s : u"UM"_s,
                       profile.Title,
                       profile.Validity,
                       profile.ValidityDisplay,
                       QString::number(profile.Price),
                       profile.PriceText,
                       profile.Design ? profile.Design->Name : QString()}
        .join(u'\t');
}

int runProfilesCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction,
                       QTextStream &out)
{
    if (std::optional<int> failed = logInAsOperator(state, options, interaction))
        return *failed;
    if (!startRouterSession(state, interaction))
        return ExitFailed;
    for (const auto &profile : state.profiles)
        out << profileLine(*profile) << '\n';
    return ExitDone;
}
