#include "runrecorder.h"

#include "base/settingskey.h"
#include "config/appsettings.h"
#include "history/historydatabase.h"
#include "session/runjournal.h"

bool recordAsRun(BatchList &batch, const QString &routerName, const HistoryPlace &place,
                 const QString &settingsFile, bool &historyWarningShown, OperatorInteraction &interaction)
{
    HistoryDatabase history;
    openHistory(history, place, true);
    AppSettings settings;
    RunJournal journal(settings, SettingsKey(settingsFile), place.dataFolder, routerName, &history,
                       historyWarningShown, {}, interaction);
    bool recorded = true;
    for (VoucherRecord &record : batch)
        recorded = journal.recordVoucher(record) && journal.confirmVoucher(record) && recorded;
    historyWarningShown = journal.historyWarningShown();
    return recorded;
}
