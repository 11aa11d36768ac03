#include "clioptions.h"

#include "generation/duration.h"

#include <QCommandLineParser>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

// The options each command takes besides the common ones.
const QHash<QString, QStringList> CommandOptions = {
    {u"routers"_s, {}},
    {u"designs"_s, {}},
    {u"profiles"_s, {}},
    {u"upload-script"_s, {u"interval"_s}},
    {u"remove"_s, {u"user"_s, u"usermanager"_s}},
    {u"generate"_s,
     {u"profile"_s, u"count"_s, u"name"_s, u"format"_s, u"pdf"_s, u"print"_s, u"printer"_s, u"design"_s}},
    {u"print-test"_s, {u"design"_s, u"pdf"_s}},
    {u"history"_s, {u"from"_s, u"to"_s, u"generator"_s, u"router-name"_s, u"format"_s}},
};

// The output formats each command can write; the first is the default.
const QHash<QString, QStringList> CommandFormats = {
    {u"generate"_s, {u"text"_s, u"json"_s}},
    {u"history"_s, {u"text"_s, u"json"_s, u"csv"_s}},
};

std::optional<QDate> parseDate(const QString &text)
{
    const QDate date = QDate::fromString(text, u"yyyy-MM-dd"_s);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

const QStringList CommonOptions = {u"router"_s, u"operator"_s, u"operator-password"_s, u"yes"_s, u"no"_s};

} // namespace

QString cliUsage()
{
    return uR"(Usage: wifiticketer-cli [options] COMMAND [command options]

Commands:
  routers                    one line per configured router, tab-separated:
                             Name, Address, Port, ApiUser, HS=0|1, UM=0|1, MAC=0|1, UserManagerAdmin
  designs                    the voucher designs' names, one a line
  profiles                   logs in and lists the sellable profiles, tab-separated:
                             HS|UM, Title, Validity, ValidityDisplay, Price, PriceText, Design
  upload-script [--interval DURATION]
                             uploads the expiration script and its scheduler entry to the router
  remove --user NAME [--usermanager]
                             removes a hotspot user (or a User Manager user) from the router
  generate --profile TITLE (--count N | --name USER) [--format text|json]
           [--pdf FILE] [--print] [--printer NAME] [--design NAME]
                             logs in, creates the vouchers on the router, records them and lists
                             them: UserName, Password, Serial, Created, Expires, HS|UM; --pdf and
                             --print lay them out with the profile's design (or --design) as the
                             print job does, onto a PDF file or the printer (--printer, else the
                             design's, else the default one); on a terminal it shows "n/N" on
                             standard error, and Ctrl+C stops it after the current voucher
  print-test --design NAME --pdf FILE
                             one sheet of samples of the design, onto a PDF file
  history [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--generator NAME] [--router-name NAME]
          [--format text|json|csv]
                             the vouchers recorded in those days (default today), then the totals

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
    const QCommandLineOption profile(u"profile"_s, QString(), u"TITLE"_s);
    const QCommandLineOption count(u"count"_s, QString(), u"N"_s);
    const QCommandLineOption name(u"name"_s, QString(), u"USER"_s);
    const QCommandLineOption format(u"format"_s, QString(), u"FORMAT"_s);
    const QCommandLineOption from(u"from"_s, QString(), u"DATE"_s);
    const QCommandLineOption to(u"to"_s, QString(), u"DATE"_s);
    const QCommandLineOption generator(u"generator"_s, QString(), u"NAME"_s);
    const QCommandLineOption routerName(u"router-name"_s, QString(), u"NAME"_s);
    const QCommandLineOption pdf(u"pdf"_s, QString(), u"FILE"_s);
    const QCommandLineOption print(u"print"_s);
    const QCommandLineOption printer(u"printer"_s, QString(), u"NAME"_s);
    const QCommandLineOption design(u"design"_s, QString(), u"NAME"_s);
    parser.addOptions({router, operatorName, operatorPassword, yes,   no,    help,    interval,
                       user,   userManager,  profile,          count, name,  format,  from,
                       to,     generator,    routerName,       pdf,   print, printer, design});

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
    for (const QCommandLineOption &single :
         {router, operatorName, operatorPassword, interval, user, profile, count, name, format, from, to,
          generator, routerName, pdf, printer, design}) {
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
    if (CommandFormats.contains(command)) {
        const QStringList &formats = CommandFormats[command];
        options.format = parser.isSet(format) ? parser.value(format) : formats.constFirst();
        if (!formats.contains(options.format))
            return UsageError{u"--format of %1 is one of %2"_s.arg(command, formats.join(u", "_s))};
    }
    if (command == u"generate") {
        options.profile = parser.value(profile);
        if (options.profile.isEmpty())
            return UsageError{u"generate needs --profile TITLE"_s};
        if (parser.isSet(count) == parser.isSet(name))
            return UsageError{u"generate needs either --count N or --name USER"_s};
        if (parser.isSet(count)) {
            bool ok = false;
            options.count = parser.value(count).toUInt(&ok);
            if (!ok)
                return UsageError{u"--count needs a number of vouchers, 0 or more"_s};
        } else {
            options.name = parser.value(name);
            options.count = 1;
            if (options.name->isEmpty())
                return UsageError{u"--name needs a user name"_s};
        }
    }
    if (parser.isSet(pdf)) {
        options.pdf = parser.value(pdf);
        if (options.pdf->isEmpty())
            return UsageError{u"--pdf needs a file name"_s};
    }
    options.print = parser.isSet(print);
    if (parser.isSet(printer)) {
        options.printer = parser.value(printer);
        if (!options.print)
            return UsageError{u"--printer goes with --print"_s};
    }
    if (parser.isSet(design))
        options.design = parser.value(design);
    if (command == u"print-test" && (!options.design || !options.pdf))
        return UsageError{u"print-test needs --design NAME and --pdf FILE"_s};
    if (command == u"history") {
        for (const auto &[option, target] : {std::pair{&from, &options.from}, std::pair{&to, &options.to}}) {
            if (!parser.isSet(*option))
                continue;
            *target = parseDate(parser.value(*option));
            if (!*target)
                return UsageError{u"--%1 needs a date as YYYY-MM-DD"_s.arg(option->names().constFirst())};
        }
        if (parser.isSet(generator))
            options.generator = parser.value(generator);
        if (parser.isSet(routerName))
            options.routerName = parser.value(routerName);
    }
    return options;
}
