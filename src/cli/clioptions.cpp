#include "clioptions.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace {

const QStringList Commands = {u"routers"_s};

} // namespace

QString cliUsage()
{
    return uR"(Usage: wifiticketer-cli [options] COMMAND

Commands:
  routers                    one line per configured router, tab-separated:
                             Name, Address, Port, ApiUser, HS=0|1, UM=0|1, MAC=0|1, UserManagerAdmin

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
    parser.addOptions({router, operatorName, operatorPassword, yes, no, help});

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
    if (!Commands.contains(positional[0]))
        return UsageError{u"unknown command '%1'"_s.arg(positional[0])};
    if (parser.isSet(yes) && parser.isSet(no))
        return UsageError{u"--yes and --no exclude each other"_s};
    for (const QCommandLineOption &single : {router, operatorName, operatorPassword}) {
        if (parser.values(single).size() > 1)
            return UsageError{u"--%1 given more than once"_s.arg(single.names().constFirst())};
    }

    CliOptions options;
    options.command = positional[0];
    if (parser.isSet(router))
        options.router = parser.value(router);
    options.operatorName = parser.value(operatorName);
    options.operatorPassword = parser.value(operatorPassword);
    if (parser.isSet(yes))
        options.answer = Answer::Yes;
    else if (parser.isSet(no))
        options.answer = Answer::No;
    return options;
}
