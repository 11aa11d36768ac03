#pragma once

class QTextStream;
class SessionFacade;
struct CliOptions;
class OperatorInteraction;

// Logs in as the login window does, makes the vouchers of the profile on the
// router and lists the batch.
int runGenerateCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction,
                       QTextStream &out);
