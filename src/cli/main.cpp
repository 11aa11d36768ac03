#include "clioptions.h"
#include "routerscommand.h"
#include "terminalinteraction.h"

#include "app/appstate.h"

#include <QCoreApplication>
#include <QTextStream>
#include <clocale>

using namespace Qt::StringLiterals;

namespace {

enum ExitCode
{
    Done = 0,
    Failed = 1,
    Usage = 2
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Prices use the separators of the user's locale.
    std::setlocale(LC_ALL, "");
    QTextStream out(stdout);
    QTextStream err(stderr);

    const auto parsed = parseCliOptions(app.arguments().mid(1));
    if (const UsageError *error = std::get_if<UsageError>(&parsed)) {
        err << "wifiticketer-cli: " << error->message << "\n\n" << cliUsage();
        return Usage;
    }
    const CliOptions &options = std::get<CliOptions>(parsed);
    if (options.help) {
        out << cliUsage();
        return Done;
    }

    AppState state(defaultStoragePaths());
    startUp(state);
    TerminalInteraction interaction(options.answer);

    int code = Failed;
    if (options.command == u"routers")
        code = runRoutersCommand(state, out);
    out.flush();
    return code;
}
