#pragma once

class QTextStream;
class SessionFacade;
struct CliOptions;
struct VoucherProfile;

#include <QString>

// One sellable profile, tab-separated: HS|UM, Title, Validity, ValidityDisplay,
// Price (hundredths), PriceText, Design name.
QString profileLine(const VoucherProfile &profile);

// Logs in as the login window does and lists the profile list.
int runProfilesCommand(SessionFacade &session, const CliOptions &options, QTextStream &out);
