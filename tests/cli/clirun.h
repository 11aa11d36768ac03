#pragma once

#include <QString>
#include <QStringList>

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
// question read from it would hang the run rather than pass unnoticed.
CliRun runCli(const TestFolder &folder, const QStringList &arguments);
// The same with these bytes on standard input, which then ends.
CliRun runCli(const TestFolder &folder, const QStringList &arguments, const QByteArray &input);

// Runs another program the tests read results with (pdfinfo, zbarimg, lpstat,
// ...); a program that is missing gives exit code -1.
CliRun runTool(const QString &program, const QStringList &arguments);
