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
    QString operatorPassword;
    std::optional<Answer> answer; // --yes or --no: the answer to every question
    bool help = false;

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
};

struct UsageError
{
    QString message;
};

// Parses the arguments (without the program name).
std::variant<CliOptions, UsageError> parseCliOptions(const QStringList &arguments);

QString cliUsage();
