#include "pendingvouchers.h"

#include "appstate.h"
#include "journalrecovery.h"

#include "history/pendingjournal.h"

#include <QCoreApplication>

std::optional<QList<PendingVoucher>> pendingVouchers(const AppState &state)
{
    const std::optional<JournalState> journal = readJournal(state.paths.dataFolder);
    if (!journal)
        return std::nullopt;
    QList<PendingVoucher> pending;
    for (const JournalEntry &entry : journal->unconfirmed) {
        PendingVoucher voucher{entry.row, entry.routerAt, {}};
        for (const RouterConfig &router : state.routers) {
            if (entryBelongsTo(entry, router, state.routers)) {
                voucher.router = router.Name;
                break;
            }
        }
        pending.append(voucher);
    }
    return pending;
}

QString pendingVouchersLine(const QList<PendingVoucher> &pending)
{
    if (pending.isEmpty())
        return {};
    const qsizetype orphaned =
        std::count_if(pending.cbegin(), pending.cend(),
                      [](const PendingVoucher &voucher) { return voucher.router.isEmpty(); });
    QString line =
        pending.size() == 1
            ? QCoreApplication::translate("PendingVouchers", "1 voucher aguarda a confirmação do roteador")
            : QCoreApplication::translate("PendingVouchers", "%1 vouchers aguardam a confirmação do roteador")
                  .arg(pending.size());
    if (orphaned > 0)
        line +=
            QCoreApplication::translate("PendingVouchers", " (%1 de um roteador que não está configurado)")
                .arg(orphaned);
    return line + u'.';
}
