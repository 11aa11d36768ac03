#pragma once

#include "generation/voucherrecord.h"
#include "history/openhistory.h"

#include <QString>

class OperatorInteraction;

// Records vouchers made elsewhere as a generation run records its own: the
// history opens at the place for the run, and each voucher goes through the
// run's journal (written down as unconfirmed, then confirmed: stored in the
// database or left waiting in the pending file). Serials the vouchers lack are
// taken from the settings file. True when every voucher was recorded.
bool recordAsRun(BatchList &batch, const QString &routerName, const HistoryPlace &place,
                 const QString &settingsFile, bool &historyWarningShown, OperatorInteraction &interaction);
