#pragma once

struct AppState;
class QTextStream;

// Lists the design names, one a line, in list order (the names --design
// takes); exit code 0.
int runDesignsCommand(const AppState &state, QTextStream &out);
