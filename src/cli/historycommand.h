#pragma once

class QTextStream;
struct AppState;
struct CliOptions;
class OperatorInteraction;

// The history page's search: the rows of the days, program user and router
// asked for, then the totals line.
int runHistoryCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction,
                      QTextStream &out);
