#include "clirun.h"

#include "testfolder.h"

#include <QProcess>

using namespace Qt::StringLiterals;

CliRun runCli(const TestFolder &folder, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"WIFITICKETER_SETTINGS"_s, folder.settingsFile());
    env.insert(u"WIFITICKETER_DATA_DIR"_s, folder.dataFolder());
    env.insert(u"WIFITICKETER_API_TIMEOUT_MS"_s, u"5000"_s);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(WIFITICKETER_CLI_PATH), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
