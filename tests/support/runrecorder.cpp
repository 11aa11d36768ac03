#include "runrecorder.h"

#include "base/clock.h"
#include "base/settingskey.h"
#include "config/appsettings.h"
#include "config/routerconfig.h"
#include "history/historydatabase.h"
#include "session/runjournal.h"

bool recordAsRun(BatchList &batch, const QString &routerName, const HistoryPlace &place,
                 const QString &settingsFile, bool &historyWarningShown, OperatorInteraction &interaction)
{
    HistoryDatabase history;
    openHistory(history, place, true);
    AppSettings settings;
    RouterConfig router;
    router.Name = routerName;
    router.Address = QStringLiteral("192.0.2.1");
    const Clock clock;
    RunJournal journal(settings, SettingsKey(settingsFile), place.dataFolder, router, &history,
                       historyWarningShown, {}, interaction, clock);
    bool recorded = true;
    for (VoucherRecord &record : batch)
        recorded = journal.recordVoucher(record) && journal.confirmVoucher(record) && recorded;
    journal.finish();
    historyWarningShown = journal.historyWarningShown();
    return recorded;
}
