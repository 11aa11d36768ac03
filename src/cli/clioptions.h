#pragma once

#include "base/operatorinteraction.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

// What the command line asked for.
struct CliOptions
{
    QString command;
    std::optional<QString> router; // exact router name; default the first router
    QString operatorName;
    // The program user's password: --operator-password as given, else read by
    // takeOperatorPassword (standard input or the environment).
    QString operatorPassword;
    bool operatorPasswordGiven = false; // --operator-password: on the command line
    bool operatorPasswordStdin = false; // --operator-password-stdin
    std::optional<Answer> answer; // --yes or --no: the answer to every question
    bool help = false;            // --help: of `command`, or the overall one when it is empty

    qint64 intervalSeconds = 0; // upload-script --interval; 0: the configured one
    QString user;               // remove --user
    bool userManager = false;   // remove --usermanager

    QString profile;                // generate --profile: a profile's Title
    quint32 count = 0;              // generate --count
    std::optional<QString> name;    // generate --name: one voucher with this user name
    QString format;                 // generate, history --format: text, json or csv
    std::optional<QString> pdf;     // generate, print-test --pdf FILE
    bool print = false;             // generate --print
    std::optional<QString> printer; // generate --printer
    std::optional<QString> design;  // generate, print-test --design

    std::optional<QDate> from; // history --from; default today
    std::optional<QDate> to;   // history --to; default today
    std::optional<QString> generator;
    std::optional<QString> routerName;
    bool pending = false; // history --pending: the vouchers waiting for their router

    // router and hotspot-profile: what to do ("add", "set" or "remove") with
    // the router or profile named `itemName`.
    QString action;
    QString itemName;

    // router: the options given; what is not given is kept (set) or the new
    // router's default (add).
    std::optional<QString> address;
    std::optional<QString> port;
    std::optional<QString> apiUser;
    bool passwordStdin = false;
    std::optional<bool> hotSpotProfiles;
    std::optional<bool> userManagerProfiles;
    std::optional<bool> macBinding;
    std::optional<QString> userManagerAdmin;

    // hotspot-profile: the options as given, likewise.
    std::optional<QString> validity;
    std::optional<QString> uptime;
    std::optional<QString> routerProfile;
    std::optional<QString> server;
    std::optional<QString> limitIn;
    std::optional<QString> limitOut;
    std::optional<QString> limitTotal;
    std::optional<QString> price;
};

struct UsageError
{
    QString message; // what is wrong
    QString command; // whose help tells what to do; empty: the overall help
};

// Parses the arguments (without the program name).
std::variant<CliOptions, UsageError> parseCliOptions(const QStringList &arguments);

// The one line a usage error is told with (without the line break):
// "wifiticketer-cli: <what is wrong>; see 'wifiticketer-cli COMMAND --help'".
QString usageErrorLine(const UsageError &error);
