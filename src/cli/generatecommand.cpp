#include "generatecommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"
#include "interruptstop.h"
#include "namechoices.h"
#include "outputcheck.h"
#include "terminaluserdataprompt.h"
#include "voucheroutput.h"

#include "base/operatorinteraction.h"
#include "generation/givennamecheck.h"
#include "history/historyrow.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Runs larger than this are made only after a question: a mistyped count
// would fill the router with users nobody sells.
constexpr quint32 LargeCount = 10000;

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

// Shows "made/count" on standard error while the run goes on, when that is a
// terminal; scripts reading it get no progress lines.
class ProgressLine
{
public:
    explicit ProgressLine(SessionFacade &session)
    {
        if (!isatty(STDERR_FILENO))
            return;
        m_connection = QObject::connect(&session, &SessionFacade::generationProgress,
                                        [this](quint32 made, quint32 count) {
                                            QTextStream(stderr) << '\r' << made << '/' << count << Qt::flush;
                                            m_shown = true;
                                        });
    }
    ~ProgressLine()
    {
        QObject::disconnect(m_connection);
        if (m_shown)
            QTextStream(stderr) << '\n';
    }
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

private:
    QMetaObject::Connection m_connection;
    bool m_shown = false;
};

} // namespace

int runGenerateCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction,
                       QTextStream &out)
{
    // A name that cannot be used stops the command before anything reaches a router.
    if (options.name) {
        if (const std::optional<QString> problem = givenNameProblem(*options.name, HistoryTextColumnSize)) {
            interaction.showMessage(*problem, MessageIcon::Error);
            return ExitFailed;
        }
    }
    // So is output that could not be written: the vouchers would be made for nothing.
    if (!outputOptionsUsable(options))
        return ExitUsage;
    if (std::optional<int> failed = logInAsOperator(session, options))
        return *failed;
    if (options.count > LargeCount &&
        interaction.askYesNo(
            QCoreApplication::translate("Cli", "Serão criados %1 vouchers no roteador. Deseja continuar?")
                .arg(options.count),
            MessageIcon::Question) != Answer::Yes)
        return ExitFailed;
    if (!session.startRouterSession())
        return ExitFailed;

    const AppState &state = session.state();
    const std::shared_ptr<const VoucherProfile> profile = findProfile(state.profiles, options.profile);
    if (!profile) {
        QStringList titles;
        for (const std::shared_ptr<VoucherProfile> &candidate : state.profiles)
            titles.append(candidate->Title);
        QTextStream(stderr) << u"wifiticketer-cli: no profile of the router is titled '%1'"_s.arg(
                                   options.profile)
                            << nameChoices(u"profiles"_s, titles) << '\n';
        return ExitUsage;
    }
    // A wrong --design must stop the run before vouchers are made.
    const std::optional<const VoucherDesign *> design = chosenDesign(state, options, profile->Design);
    if (!design)
        return ExitUsage;
    if (!printerAvailable(**design, options))
        return ExitUsage;
    TerminalUserDataPrompt prompt(state.settings, state.userNames);
    bool opened = false;
    {
        StopOnInterrupt stopOnInterrupt(session);
        ProgressLine progress(session);
        opened = session.runGeneration({profile, options.count, options.name}, prompt);
    }
    if (!opened)
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
    return state.batch.size() < options.count || session.lastRunFailed() || !output ? ExitFailed : ExitDone;
}
