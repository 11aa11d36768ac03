#pragma once

#include "history/historyrow.h"

#include <QList>
#include <QString>

struct AppState;

// A voucher the journal holds as sent to its router but not yet confirmed:
// the router may hold it. The next session start on that router settles it;
// one whose router is no longer configured waits until the operator adds the
// router again (at the same address and port) or clears the matter.
struct PendingVoucher
{
    HistoryRow row;
    QString routerAt; // "address:port" where it was sent (empty in older journals)
    QString router;   // the configured router that settles it; empty: none
};

// The unconfirmed vouchers of the journal, in the order they were sent;
// nothing when the journal cannot be read.
std::optional<QList<PendingVoucher>> pendingVouchers(const AppState &state);

// "3 vouchers aguardam a confirmação do roteador." and the like, for the
// history page and the command line; empty when none waits.
QString pendingVouchersLine(const QList<PendingVoucher> &pending);
