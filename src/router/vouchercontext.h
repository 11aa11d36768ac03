#pragma once

#include "generation/voucherrecord.h"

#include <QString>

class ApiTransport;
class Clock;
class OperatorInteraction;
class UserDataPrompt;
class VoucherJournal;
struct AppSettings;
struct RouterConfig;
struct RouterInfo;

// What making one voucher on an open session uses: the session, the router
// and what it reported, the generation rules (whose VoucherSerial advances),
// the batch the voucher joins, the time, the program user making it, the
// operator and the user-data prompt for what must be asked, and the journal
// that writes each voucher down before the router gets it.
struct VoucherContext
{
    ApiTransport &transport;
    const RouterConfig &router;
    const RouterInfo &info;
    AppSettings &settings;
    BatchList &batch;
    const Clock &clock;
    QString generator;
    OperatorInteraction &interaction;
    UserDataPrompt &prompt;
    VoucherJournal &journal;
};
