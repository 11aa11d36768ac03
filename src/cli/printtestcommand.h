#pragma once

struct AppState;
struct CliOptions;
class OperatorInteraction;

// The design page's test print: one sheet of samples of the design, onto a PDF.
int runPrintTestCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction);
