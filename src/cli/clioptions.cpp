#include "clioptions.h"

#include "config/hotspotprofilevalidation.h"
#include "generation/duration.h"

#include <QCommandLineParser>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

// Every option but --help and --usermanager, with the name of its value
// (none for a switch).
const QList<std::pair<QString, QString>> OptionValues = {
    {u"router"_s, u"NAME"_s},
    {u"operator"_s, u"NAME"_s},
    {u"operator-password"_s, u"PW"_s},
    {u"operator-password-stdin"_s, QString()},
    {u"yes"_s, QString()},
    {u"no"_s, QString()},
    {u"interval"_s, u"DURATION"_s},
    {u"user"_s, u"NAME"_s},
    {u"profile"_s, u"TITLE"_s},
    {u"count"_s, u"N"_s},
    {u"name"_s, u"USER"_s},
    {u"format"_s, u"FORMAT"_s},
    {u"from"_s, u"DATE"_s},
    {u"to"_s, u"DATE"_s},
    {u"generator"_s, u"NAME"_s},
    {u"router-name"_s, u"NAME"_s},
    {u"pending"_s, QString()},
    {u"pdf"_s, u"FILE"_s},
    {u"print"_s, QString()},
    {u"printer"_s, u"NAME"_s},
    {u"design"_s, u"NAME"_s},
    {u"address"_s, u"A"_s},
    {u"port"_s, u"P"_s},
    {u"api-user"_s, u"U"_s},
    {u"password-stdin"_s, QString()},
    {u"hotspot"_s, u"0|1"_s},
    {u"mac-binding"_s, u"0|1"_s},
    {u"usermanager-admin"_s, u"NAME"_s},
    {u"validity"_s, u"D"_s},
    {u"uptime"_s, u"D"_s},
    {u"router-profile"_s, u"P"_s},
    {u"server"_s, u"S"_s},
    {u"limit-in"_s, u"B"_s},
    {u"limit-out"_s, u"B"_s},
    {u"limit-total"_s, u"B"_s},
    {u"price"_s, u"P"_s},
    // Known only to be refused with the reason: a password on the command
    // line can be read by every user of the machine.
    {u"password"_s, u"PW"_s},
    {u"api-password"_s, u"PW"_s},
};

const QStringList CommonOptions = {
    u"router"_s, u"operator"_s, u"operator-password"_s, u"operator-password-stdin"_s, u"yes"_s, u"no"_s};

const QStringList RouterOptions = {u"address"_s, u"port"_s,        u"api-user"_s,    u"password-stdin"_s,
                                   u"hotspot"_s, u"usermanager"_s, u"mac-binding"_s, u"usermanager-admin"_s};
const QStringList HotSpotProfileOptions = {u"validity"_s, u"uptime"_s,    u"router-profile"_s, u"server"_s,
                                           u"limit-in"_s, u"limit-out"_s, u"limit-total"_s,    u"price"_s};

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
    {u"history"_s, {u"from"_s, u"to"_s, u"generator"_s, u"router-name"_s, u"format"_s, u"pending"_s}},
    {u"router"_s, RouterOptions},
    {u"hotspot-profile"_s, HotSpotProfileOptions},
};

// Commands that edit a list: COMMAND add|set|remove NAME, and what the name
// names.
const QHash<QString, QString> ListCommands = {
    {u"router"_s, u"router"_s},
    {u"hotspot-profile"_s, u"profile"_s},
};
const QStringList Actions = {u"add"_s, u"set"_s, u"remove"_s};

// The output formats each command can write; the first is the default.
const QHash<QString, QStringList> CommandFormats = {
    {u"generate"_s, {u"text"_s, u"json"_s}},
    {u"history"_s, {u"text"_s, u"json"_s, u"csv"_s}},
};

// --usermanager is a switch of remove and takes 0|1 with router.
void addOptions(QCommandLineParser &parser, bool userManagerTakesValue)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const auto &[name, value] : OptionValues)
        parser.addOption(QCommandLineOption(name, QString(), value));
    parser.addOption(QCommandLineOption(QStringList{u"h"_s, u"help"_s}));
    parser.addOption(
        QCommandLineOption(u"usermanager"_s, QString(), userManagerTakesValue ? u"0|1"_s : QString()));
}

// The parser's own message ("Unknown option 'x'."), as the first part of the
// one line.
QString parserError(const QCommandLineParser &parser)
{
    QString text = parser.errorText();
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

std::optional<QDate> parseDate(const QString &text)
{
    const QDate date = QDate::fromString(text, u"yyyy-MM-dd"_s);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<QString> optionalValue(const QCommandLineParser &parser, const QString &name)
{
    return parser.isSet(name) ? std::optional(parser.value(name)) : std::nullopt;
}

std::optional<UsageError> parseRouterOptions(const QCommandLineParser &parser, CliOptions &options)
{
    options.address = optionalValue(parser, u"address"_s);
    options.port = optionalValue(parser, u"port"_s);
    options.apiUser = optionalValue(parser, u"api-user"_s);
    options.userManagerAdmin = optionalValue(parser, u"usermanager-admin"_s);
    options.passwordStdin = parser.isSet(u"password-stdin"_s);
    for (const auto &[name, target] : {std::pair{u"hotspot"_s, &options.hotSpotProfiles},
                                       std::pair{u"usermanager"_s, &options.userManagerProfiles},
                                       std::pair{u"mac-binding"_s, &options.macBinding}}) {
        if (!parser.isSet(name))
            continue;
        const QString value = parser.value(name);
        if (value != u"0" && value != u"1")
            return UsageError{u"--%1 takes 0 or 1"_s.arg(name), options.command};
        *target = value == u"1";
    }
    return std::nullopt;
}

std::optional<UsageError> parseHotSpotProfileOptions(const QCommandLineParser &parser, CliOptions &options)
{
    options.validity = optionalValue(parser, u"validity"_s);
    options.uptime = optionalValue(parser, u"uptime"_s);
    options.routerProfile = optionalValue(parser, u"router-profile"_s);
    options.server = optionalValue(parser, u"server"_s);
    options.limitIn = optionalValue(parser, u"limit-in"_s);
    options.limitOut = optionalValue(parser, u"limit-out"_s);
    options.limitTotal = optionalValue(parser, u"limit-total"_s);
    options.price = optionalValue(parser, u"price"_s);
    if (options.action == u"add" && (!options.validity || !options.routerProfile))
        return UsageError{u"hotspot-profile add needs --validity D and --router-profile P"_s,
                          options.command};
    // Read as some other duration, such a text would go unnoticed ("-1h" as an hour).
    if (options.uptime && !readTypedDuration(*options.uptime))
        return UsageError{u"--uptime needs a duration such as 2h or 01:30:00, or 0 for no limit"_s,
                          options.command};
    return std::nullopt;
}

} // namespace

QString usageErrorLine(const UsageError &error)
{
    const QString help = error.command.isEmpty() ? u"wifiticketer-cli --help"_s
                                                 : u"wifiticketer-cli %1 --help"_s.arg(error.command);
    return u"wifiticketer-cli: %1; see '%2'"_s.arg(error.message, help);
}

std::variant<CliOptions, UsageError> parseCliOptions(const QStringList &arguments)
{
    const QStringList withProgram = QStringList{u"wifiticketer-cli"_s} + arguments;
    // Whether --usermanager takes a value depends on the command, which is
    // found first: the first word that names one.
    QString named;
    {
        QCommandLineParser first;
        addOptions(first, false);
        if (!first.parse(withProgram)) {
            // The help to point to is that of the first word naming a command.
            const auto word = std::find_if(arguments.begin(), arguments.end(),
                                           [](const QString &w) { return CommandOptions.contains(w); });
            return UsageError{parserError(first), word != arguments.end() ? *word : QString()};
        }
        for (const QString &word : first.positionalArguments()) {
            if (CommandOptions.contains(word)) {
                named = word;
                break;
            }
        }
    }
    QCommandLineParser parser;
    addOptions(parser, named == u"router");
    if (!parser.parse(withProgram))
        return UsageError{parserError(parser), named};

    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(u"help"_s)) {
        if (!positional.isEmpty() && !CommandOptions.contains(positional[0]))
            return UsageError{u"unknown command '%1'"_s.arg(positional[0]), QString()};
        CliOptions options;
        options.help = true;
        options.command = positional.value(0);
        return options;
    }
    if (positional.isEmpty())
        return UsageError{u"no command given"_s, QString()};
    const QString command = positional[0];
    if (!CommandOptions.contains(command))
        return UsageError{u"unknown command '%1'"_s.arg(command), QString()};

    CliOptions options;
    options.command = command;
    qsizetype words = 1;
    if (ListCommands.contains(command)) {
        const QString &what = ListCommands[command];
        if (positional.size() < 2 || !Actions.contains(positional[1]))
            return UsageError{u"%1 needs add, set or remove, then the %2's NAME"_s.arg(command, what),
                              command};
        options.action = positional[1];
        options.itemName = positional.value(2);
        if (options.itemName.isEmpty())
            return UsageError{u"%1 %2 needs the %3's NAME"_s.arg(command, options.action, what), command};
        words = 3;
    }
    if (positional.size() > words)
        return UsageError{u"unexpected argument '%1'"_s.arg(positional[words]), command};
    for (const QString &name : parser.optionNames()) {
        if (CommonOptions.contains(name))
            continue;
        if (name == u"password" || name == u"api-password") {
            if (command == u"router")
                return UsageError{
                    u"the API password is not taken from the command line, where others can read it; pipe it "
                    "in with --password-stdin"_s,
                    command};
        }
        if (!CommandOptions[command].contains(name))
            return UsageError{u"%1 does not take --%2"_s.arg(command, name), command};
        if (options.action == u"remove")
            return UsageError{u"%1 remove does not take --%2"_s.arg(command, name), command};
    }
    if (parser.isSet(u"yes"_s) && parser.isSet(u"no"_s))
        return UsageError{u"--yes and --no exclude each other"_s, command};
    if (parser.isSet(u"operator-password"_s) && parser.isSet(u"operator-password-stdin"_s))
        return UsageError{u"--operator-password and --operator-password-stdin exclude each other"_s, command};
    // Standard input has one first line.
    if (parser.isSet(u"operator-password-stdin"_s) && parser.isSet(u"password-stdin"_s))
        return UsageError{u"--operator-password-stdin and --password-stdin cannot both read standard input; "
                          "give the operator's password in WIFITICKETER_OPERATOR_PASSWORD"_s,
                          command};
    for (const auto &[name, value] : OptionValues) {
        if (!value.isEmpty() && parser.values(name).size() > 1)
            return UsageError{u"--%1 given more than once"_s.arg(name), command};
    }
    if (parser.values(u"usermanager"_s).size() > 1)
        return UsageError{u"--usermanager given more than once"_s, command};

    options.router = optionalValue(parser, u"router"_s);
    options.operatorName = parser.value(u"operator"_s);
    options.operatorPassword = parser.value(u"operator-password"_s);
    options.operatorPasswordGiven = parser.isSet(u"operator-password"_s);
    options.operatorPasswordStdin = parser.isSet(u"operator-password-stdin"_s);
    if (parser.isSet(u"yes"_s))
        options.answer = Answer::Yes;
    else if (parser.isSet(u"no"_s))
        options.answer = Answer::No;
    if (parser.isSet(u"interval"_s)) {
        options.intervalSeconds = readTypedDuration(parser.value(u"interval"_s)).value_or(0);
        if (options.intervalSeconds <= 0 || options.intervalSeconds > HotSpotProfileMaxDuration)
            return UsageError{u"--interval needs a duration such as 10m or 00:10:00"_s, command};
    }
    if (command == u"remove") {
        options.user = parser.value(u"user"_s);
        if (options.user.isEmpty())
            return UsageError{u"remove needs --user NAME"_s, command};
        options.userManager = parser.isSet(u"usermanager"_s);
    }
    if (CommandFormats.contains(command)) {
        const QStringList &formats = CommandFormats[command];
        options.format = parser.isSet(u"format"_s) ? parser.value(u"format"_s) : formats.constFirst();
        if (!formats.contains(options.format))
            return UsageError{u"--format of %1 is one of %2"_s.arg(command, formats.join(u", "_s)), command};
    }
    if (command == u"generate") {
        options.profile = parser.value(u"profile"_s);
        if (options.profile.isEmpty())
            return UsageError{u"generate needs --profile TITLE"_s, command};
        if (parser.isSet(u"count"_s) == parser.isSet(u"name"_s))
            return UsageError{u"generate needs either --count N or --name USER"_s, command};
        if (parser.isSet(u"count"_s)) {
            bool ok = false;
            options.count = parser.value(u"count"_s).toUInt(&ok);
            if (!ok)
                return UsageError{u"--count needs a number of vouchers, 0 or more"_s, command};
        } else {
            options.name = parser.value(u"name"_s);
            options.count = 1;
            if (options.name->isEmpty())
                return UsageError{u"--name needs a user name"_s, command};
        }
    }
    options.pdf = optionalValue(parser, u"pdf"_s);
    if (options.pdf && options.pdf->isEmpty())
        return UsageError{u"--pdf needs a file name"_s, command};
    options.print = parser.isSet(u"print"_s);
    options.printer = optionalValue(parser, u"printer"_s);
    if (options.printer && !options.print)
        return UsageError{u"--printer goes with --print"_s, command};
    options.design = optionalValue(parser, u"design"_s);
    if (command == u"print-test" && (!options.design || !options.pdf))
        return UsageError{u"print-test needs --design NAME and --pdf FILE"_s, command};
    if (command == u"history") {
        for (const auto &[option, target] :
             {std::pair{u"from"_s, &options.from}, std::pair{u"to"_s, &options.to}}) {
            if (!parser.isSet(option))
                continue;
            *target = parseDate(parser.value(option));
            if (!*target)
                return UsageError{u"--%1 needs a date as YYYY-MM-DD"_s.arg(option), command};
        }
        options.generator = optionalValue(parser, u"generator"_s);
        options.routerName = optionalValue(parser, u"router-name"_s);
        options.pending = parser.isSet(u"pending"_s);
    }
    if (command == u"router") {
        if (std::optional<UsageError> error = parseRouterOptions(parser, options))
            return *error;
    }
    if (command == u"hotspot-profile") {
        if (std::optional<UsageError> error = parseHotSpotProfileOptions(parser, options))
            return *error;
    }
    if (options.action == u"set") {
        bool changes = false;
        for (const QString &name : parser.optionNames())
            changes |= CommandOptions[command].contains(name);
        if (!changes)
            return UsageError{u"%1 set needs something to change, such as %2"_s.arg(
                                  command, command == u"router" ? u"--port P"_s : u"--price P"_s),
                              command};
    }
    return options;
}
