#pragma once

class SessionFacade;
struct CliOptions;
class OperatorInteraction;

// The design page's test print: one sheet of samples of the design, onto a PDF.
int runPrintTestCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction);
