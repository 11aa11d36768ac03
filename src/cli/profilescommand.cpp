#include "profilescommand.h"

#include "clilogin.h"
#include "exitcodes.h"

#include "session/appstate.h"
#include "session/sessionfacade.h"

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

int runProfilesCommand(SessionFacade &session, const CliOptions &options, QTextStream &out)
{
    if (std::optional<int> failed = logInAsOperator(session, options))
        return *failed;
    if (!session.startRouterSession())
        return ExitFailed;
    for (const auto &profile : session.state().profiles)
        out << profileLine(*profile) << '\n';
    return ExitDone;
}
