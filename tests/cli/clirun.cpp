#include "clirun.h"

#include "testfolder.h"

#include <QProcess>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

CliRun run(QProcess &process, const QString &program, const QStringList &arguments,
           const std::optional<QByteArray> &input = std::nullopt)
{
    process.start(program, arguments);
    if (input) {
        process.write(*input);
        process.closeWriteChannel();
    }
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

CliRun runCliWith(const TestFolder &folder, QStringList arguments, const std::optional<QByteArray> &input,
                  const QHash<QString, QString> &environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"WIFITICKETER_SETTINGS"_s, folder.settingsFile());
    env.insert(u"WIFITICKETER_DATA_DIR"_s, folder.dataFolder());
    env.insert(u"WIFITICKETER_API_TIMEOUT_MS"_s, u"5000"_s);
    env.remove(u"WIFITICKETER_OPERATOR_PASSWORD"_s);
    const qsizetype password = arguments.indexOf(u"--operator-password"_s);
    if (password >= 0 && password + 1 < arguments.size()) {
        env.insert(u"WIFITICKETER_OPERATOR_PASSWORD"_s, arguments[password + 1]);
        arguments.remove(password, 2);
    }
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    return run(process, QStringLiteral(WIFITICKETER_CLI_PATH), arguments, input);
}

} // namespace

CliRun runCli(const TestFolder &folder, const QStringList &arguments)
{
    return runCliWith(folder, arguments, std::nullopt);
}

CliRun runCli(const TestFolder &folder, const QStringList &arguments, const QByteArray &input)
{
    return runCliWith(folder, arguments, input);
}

CliRun runCli(const TestFolder &folder, const QStringList &arguments, const std::optional<QByteArray> &input,
              const QHash<QString, QString> &environment)
{
    return runCliWith(folder, arguments, input, environment);
}

CliRun runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    return run(process, program, arguments);
}
