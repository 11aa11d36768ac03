#include "clioptions.h"

#include "generation/duration.h"

#include <QCommandLineParser>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

// The options each command takes besides the common ones.
const QHash<QString, QStringList> CommandOptions = {
    {u"routers"_s, {}},
    {u"profiles"_s, {}},
    {u"upload-script"_s, {u"interval"_s}},
    {u"remove"_s, {u"user"_s, u"usermanager"_s}},
};

const QStringList CommonOptions = {u"router"_s, u"operator"_s, u"operator-password"_s, u"yes"_s, u"no"_s};

} // namespace

QString cliUsage()
{
    return uR"(Usage: wifiticketer-cli [options] COMMAND [command options]

Commands:
  routers                    one line per configured router, tab-separated:
                             Name, Address, Port, ApiUser, HS=0|1, UM=0|1, MAC=0|1, UserManagerAdmin
  profiles                   logs in and lists the sellable profiles, tab-separated:
                             HS|UM, Title, Validity, ValidityDisplay, Price, PriceText, Design
  upload-script [--interval DURATION]
                             uploads the expiration script and its scheduler entry to the router
  remove --user NAME [--usermanager]
                             removes a hotspot user (or a User Manager user) from the router

Options:
  --router NAME              the router named exactly NAME (default: the first router)
  --operator NAME            program user (default empty)
  --operator-password PW     program user's password (default empty)
  --yes | --no               the answer to every question
  -h, --help                 this text
)"_s;
}

std::variant<CliOptions, UsageError> parseCliOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption router(u"router"_s, QString(), u"NAME"_s);
    const QCommandLineOption operatorName(u"operator"_s, QString(), u"NAME"_s);
    const QCommandLineOption operatorPassword(u"operator-password"_s, QString(), u"PW"_s);
    const QCommandLineOption yes(u"yes"_s);
    const QCommandLineOption no(u"no"_s);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption interval(u"interval"_s, QString(), u"DURATION"_s);
    const QCommandLineOption user(u"user"_s, QString(), u"NAME"_s);
    const QCommandLineOption userManager(u"usermanager"_s);
    parser.addOptions({router, operatorName, operatorPassword, yes, no, help, interval, user, userManager});

    if (!parser.parse(QStringList{u"wifiticketer-cli"_s} + arguments))
        return UsageError{parser.errorText()};
    if (parser.isSet(help)) {
        CliOptions options;
        options.help = true;
        return options;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return UsageError{u"no command given"_s};
    if (positional.size() > 1)
        return UsageError{u"unexpected argument '%1'"_s.arg(positional[1])};
    const QString command = positional[0];
    if (!CommandOptions.contains(command))
        return UsageError{u"unknown command '%1'"_s.arg(command)};
    for (const QString &name : parser.optionNames()) {
        if (!CommonOptions.contains(name) && !CommandOptions[command].contains(name))
            return UsageError{u"%1 does not take --%2"_s.arg(command, name)};
    }
    if (parser.isSet(yes) && parser.isSet(no))
        return UsageError{u"--yes and --no exclude each other"_s};
    for (const QCommandLineOption &single : {router, operatorName, operatorPassword, interval, user}) {
        if (parser.values(single).size() > 1)
            return UsageError{u"--%1 given more than once"_s.arg(single.names().constFirst())};
    }

    CliOptions options;
    options.command = command;
    if (parser.isSet(router))
        options.router = parser.value(router);
    options.operatorName = parser.value(operatorName);
    options.operatorPassword = parser.value(operatorPassword);
    if (parser.isSet(yes))
        options.answer = Answer::Yes;
    else if (parser.isSet(no))
        options.answer = Answer::No;
    if (parser.isSet(interval)) {
        options.intervalSeconds = parseDuration(parser.value(interval));
        if (options.intervalSeconds <= 0)
            return UsageError{u"--interval needs a duration such as 10m or 00:10:00"_s};
    }
    if (command == u"remove") {
        options.user = parser.value(user);
        if (options.user.isEmpty())
            return UsageError{u"remove needs --user NAME"_s};
        options.userManager = parser.isSet(userManager);
    }
    return options;
}
