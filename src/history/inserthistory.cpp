#include "inserthistory.h"

#include "historydatabase.h"
#include "historystore.h"
#include "pendinghistory.h"

#include "base/operatorinteraction.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

// Stores what waited; true when nothing waits any more.
bool storePending(HistoryDatabase &history, const QString &dataFolder)
{
    const QString path = pendingHistoryPath(dataFolder);
    PendingHistory pending = readPendingHistory(path);
    if (pending.rows.isEmpty())
        return true;
    const qsizetype stored = storeHistoryRows(history.connection(), pending.rows);
    if (stored == 0)
        return false;
    pending.rows.remove(0, stored);
    // Should the rewrite fail, the stored rows would be stored again next
    // time: a duplicate row is better than a lost one.
    writePendingHistory(path, pending);
    return pending.rows.isEmpty();
}

} // namespace

bool openHistory(HistoryDatabase &history, const HistoryPlace &place)
{
    const std::optional<HistoryLocation> location = parseHistoryLocation(place.database, place.dataFolder);
    if (!location || !history.open(*location))
        return false;
    storePending(history, place.dataFolder);
    return true;
}

void insertHistory(const BatchList &batch, const QString &routerName, const HistoryPlace &place,
                   bool &warningShown, OperatorInteraction &interaction)
{
    QList<HistoryRow> rows;
    for (const VoucherRecord &record : batch)
        rows.append(historyRowOf(record, routerName));

    qsizetype stored = 0;
    {
        // A connection of this thread, opened for this use only.
        HistoryDatabase history;
        if (openHistory(history, place))
            stored = storeHistoryRows(history.connection(), rows);
    }
    if (stored == rows.size()) {
        if (!rows.isEmpty())
            warningShown = false;
        return;
    }

    const QString path = pendingHistoryPath(place.dataFolder);
    PendingHistory pending = readPendingHistory(path);
    pending.rows.append(rows.mid(stored));
    const bool kept = writePendingHistory(path, pending);
    if (!warningShown || !kept) {
        interaction.showMessage(
            QCoreApplication::translate("History",
                                        "Erro: Não foi possível acessar o banco de dados de histórico."),
            MessageIcon::Warning);
        warningShown = true;
    }
}
