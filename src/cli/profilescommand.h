#pragma once

class OperatorInteraction;
class QTextStream;
struct AppState;
struct CliOptions;
struct VoucherProfile;

#include <QString>

// One sellable profile, tab-separated: HS|UM, Title, Validity, ValidityDisplay,
// Price (hundredths), PriceText, Design name.
QString profileLine(const VoucherProfile &profile);

// Logs in as the login window does and lists the profile list.
int runProfilesCommand(AppState &state, const CliOptions &options, OperatorInteraction &interaction,
                       QTextStream &out);
