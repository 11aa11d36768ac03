#pragma once

class QTextStream;
class SessionFacade;
struct CliOptions;
class OperatorInteraction;

// The history page's search: the rows of the days, program user and router
// asked for, then the totals line.
int runHistoryCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction,
                      QTextStream &out);
