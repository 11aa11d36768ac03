#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class TestFolder;

// What one run of wifiticketer-cli gave.
struct CliRun
{
    int exitCode = -1; // -1: it did not finish normally
    QString out;
    QString err;
};

// Runs the built wifiticketer-cli on the folder's settings file and data
// folder, with a short router time-out. Standard input stays an open pipe, so a
// question read from it would hang the run rather than pass unnoticed. A
// program user's password given as "--operator-password PW" (as the tests'
// program users give it) goes to the command in WIFITICKETER_OPERATOR_PASSWORD,
// where other users cannot read it, so the option's warning stays out of what
// the tests compare; "--operator-password=PW" stays on the command line.
CliRun runCli(const TestFolder &folder, const QStringList &arguments);
// The same with these bytes on standard input, which then ends.
CliRun runCli(const TestFolder &folder, const QStringList &arguments, const QByteArray &input);
// The same with these variables added to the environment, and these bytes on
// standard input when given.
CliRun runCli(const TestFolder &folder, const QStringList &arguments, const std::optional<QByteArray> &input,
              const QHash<QString, QString> &environment);

// Runs another program the tests read results with (pdfinfo, zbarimg, lpstat,
// ...); a program that is missing gives exit code -1.
CliRun runTool(const QString &program, const QStringList &arguments);
