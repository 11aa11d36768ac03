// wifiticketer-routersim: a RouterOS API service on 127.0.0.1 for tests and
// demonstrations. Without options it answers like a RouterOS 6.48 router with
// user admin and an empty password.

#include "routerbehaviour.h"
#include "routerstate.h"
#include "simserver.h"
#include "simulatedrouter.h"
#include "statejson.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <cstdio>
#include <memory>
#include <optional>

using namespace routersim;

namespace {

constexpr int UsageError = 2;

int usageError(const QString &message)
{
    std::fprintf(stderr, "wifiticketer-routersim: %s\n", qPrintable(message));
    std::fprintf(stderr, "Try 'wifiticketer-routersim --help'.\n");
    return UsageError;
}

std::optional<int> readNumber(const QString &text, int maximum)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < 0 || value > maximum)
        return std::nullopt;
    return value;
}

bool writeStateFile(const QString &path, const RouterState &state)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(stateToJson(state)).toJson());
    return file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A RouterOS API service on 127.0.0.1 that answers the commands wifiTicketer sends, with state.\n"
        "Without options: RouterOS 6.48.6, login both ways, API user admin with an empty password."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port (0: any free port)."),
                                  QStringLiteral("N"), QStringLiteral("8728"));
    const QCommandLineOption config(QStringLiteral("config"),
                                    QStringLiteral("JSON file with the initial state and settings."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("RouterOS version text, e.g. \"7.12 (stable)\"."),
                                     QStringLiteral("TEXT"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("API user name."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("API user password."),
                                      QStringLiteral("PW"));
    const QCommandLineOption login(QStringLiteral("login"),
                                   QStringLiteral("Login generation: challenge, both, plain or plain-trap."),
                                   QStringLiteral("MODE"));
    const QCommandLineOption refuseAdds(QStringLiteral("refuse-adds"),
                                        QStringLiteral("Refuse every add command."));
    const QCommandLineOption stall(QStringLiteral("stall"), QStringLiteral("Read sentences, never answer."));
    const QCommandLineOption forgetAdds(QStringLiteral("forget-adds"),
                                        QStringLiteral("Confirm every add command, store nothing."));
    const QCommandLineOption closeAfter(QStringLiteral("close-after"),
                                        QStringLiteral("Close a connection after answering N sentences."),
                                        QStringLiteral("N"));
    const QCommandLineOption latency(
        QStringLiteral("latency"),
        QStringLiteral("Answer every command MS after it arrived; commands sent together are answered "
                       "together."),
        QStringLiteral("MS"));
    const QCommandLineOption outOfOrder(
        QStringLiteral("out-of-order"),
        QStringLiteral("Answer tagged commands (\".tag=X\") that arrived together in reverse order."));
    const QCommandLineOption trickle(QStringLiteral("trickle"),
                                     QStringLiteral("Send every answer one byte at a time, MS apart."),
                                     QStringLiteral("MS"));
    const QCommandLineOption endlessRe(
        QStringLiteral("endless-re"),
        QStringLiteral("Carry out every command but the login and answer it with a \"!re\" sentence "
                       "every MS, never with \"!done\"."),
        QStringLiteral("MS"));
    const QCommandLineOption faultCommand(
        QStringLiteral("fault-command"),
        QStringLiteral("Let --trickle and --endless-re touch only the answers to this command, e.g. "
                       "/ip/hotspot/user/add or /login."),
        QStringLiteral("PATH"));
    const QCommandLineOption logFile(QStringLiteral("log"),
                                     QStringLiteral("Write one JSON line per received sentence to FILE."),
                                     QStringLiteral("FILE"));
    const QCommandLineOption stateFile(
        QStringLiteral("state"), QStringLiteral("Rewrite the state as JSON to FILE after every sentence."),
        QStringLiteral("FILE"));
    parser.addOptions({help, port, config, version, user, password, login, refuseAdds, forgetAdds, stall,
                       closeAfter, latency, outOfOrder, trickle, endlessRe, faultCommand, logFile,
                       stateFile});

    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    RouterState state = defaultRouterState();
    RouterBehaviour behaviour;
    if (parser.isSet(config)) {
        QFile file(parser.value(config));
        if (!file.open(QIODevice::ReadOnly))
            return usageError(QStringLiteral("cannot read %1").arg(file.fileName()));
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
        if (!document.isObject())
            return usageError(
                QStringLiteral("%1: not a JSON object (%2)").arg(file.fileName(), parseError.errorString()));
        QString error;
        if (!applyConfigJson(document.object(), state, behaviour, error))
            return usageError(QStringLiteral("%1: %2").arg(file.fileName(), error));
    }
    if (parser.isSet(version))
        state.version = parser.value(version);
    if (parser.isSet(user) || parser.isSet(password)) {
        if (state.apiUsers.isEmpty())
            state.apiUsers.append({{}, QStringLiteral("admin"), {}});
        if (parser.isSet(user))
            state.apiUsers.first().name = parser.value(user);
        if (parser.isSet(password))
            state.apiUsers.first().password = parser.value(password);
    }
    if (parser.isSet(login)) {
        const std::optional<LoginMode> mode = loginModeFromName(parser.value(login));
        if (!mode)
            return usageError(QStringLiteral("unknown login generation '%1'").arg(parser.value(login)));
        behaviour.login = *mode;
    }
    if (parser.isSet(refuseAdds))
        behaviour.refuseAdds = true;
    if (parser.isSet(forgetAdds))
        behaviour.forgetAdds = true;
    if (parser.isSet(stall))
        behaviour.stall = true;
    if (parser.isSet(outOfOrder))
        behaviour.outOfOrderTags = true;
    if (parser.isSet(closeAfter)) {
        const std::optional<int> count = readNumber(parser.value(closeAfter), 1000000);
        if (!count)
            return usageError(QStringLiteral("--close-after needs a number of sentences"));
        behaviour.closeAfter = *count;
    }
    if (parser.isSet(latency)) {
        const std::optional<int> ms = readNumber(parser.value(latency), 600000);
        if (!ms)
            return usageError(QStringLiteral("--latency needs a number of milliseconds"));
        behaviour.latencyMs = *ms;
    }
    if (parser.isSet(trickle)) {
        const std::optional<int> ms = readNumber(parser.value(trickle), 600000);
        if (!ms)
            return usageError(QStringLiteral("--trickle needs a number of milliseconds"));
        behaviour.trickleMs = *ms;
    }
    if (parser.isSet(endlessRe)) {
        const std::optional<int> ms = readNumber(parser.value(endlessRe), 600000);
        if (!ms || *ms == 0)
            return usageError(QStringLiteral("--endless-re needs a number of milliseconds"));
        behaviour.endlessReMs = *ms;
    }
    if (parser.isSet(faultCommand)) {
        if (!parser.value(faultCommand).startsWith(u'/'))
            return usageError(QStringLiteral("--fault-command needs a command path such as /login"));
        behaviour.faultCommand = parser.value(faultCommand);
    }
    const std::optional<int> portNumber = readNumber(parser.value(port), 65535);
    if (!portNumber)
        return usageError(QStringLiteral("--port needs a number from 0 to 65535"));

    std::unique_ptr<QFile> log;
    if (parser.isSet(logFile)) {
        log = std::make_unique<QFile>(parser.value(logFile));
        if (!log->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "wifiticketer-routersim: cannot write %s\n", qPrintable(log->fileName()));
            return 1;
        }
    }
    const QString statePath = parser.value(stateFile);

    SimulatedRouter router(state, behaviour);
    if (!statePath.isEmpty() && !writeStateFile(statePath, router.state())) {
        std::fprintf(stderr, "wifiticketer-routersim: cannot write %s\n", qPrintable(statePath));
        return 1;
    }
    router.setObserver([&log, statePath](const LoggedSentence &sentence, const RouterState &current) {
        if (log) {
            log->write(QJsonDocument(loggedSentenceToJson(sentence)).toJson(QJsonDocument::Compact) + '\n');
            log->flush();
        }
        if (!statePath.isEmpty())
            writeStateFile(statePath, current);
    });

    SimServer server(router);
    if (!server.listen(quint16(*portNumber))) {
        std::fprintf(stderr, "wifiticketer-routersim: cannot listen on 127.0.0.1:%d: %s\n", *portNumber,
                     qPrintable(server.errorString()));
        return 1;
    }
    std::printf("listening on 127.0.0.1:%u\n", unsigned(server.port()));
    std::fflush(stdout);
    return app.exec();
}
