#include "designscommand.h"

#include "session/appstate.h"

#include <QTextStream>

int runDesignsCommand(const AppState &state, QTextStream &out)
{
    for (const std::shared_ptr<VoucherDesign> &design : state.designs)
        out << design->Name << '\n';
    return 0;
}
