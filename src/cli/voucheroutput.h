#pragma once

#include <QList>
#include <optional>

struct AppState;
struct CliOptions;
struct VoucherDesign;
struct VoucherRecord;
class OperatorInteraction;

// The design the vouchers are printed with: --design, else the profile's,
// else the built-in one. Nothing when --design names no design (the reason has
// been written to standard error).
std::optional<const VoucherDesign *> chosenDesign(const AppState &state, const CliOptions &options,
                                                  const VoucherDesign *profileDesign);

// Writes the vouchers to --pdf and sends them to the printer for --print, as the
// print job lays them out. False when either failed (the reason has been told).
bool outputVouchers(const VoucherDesign &design, const QList<const VoucherRecord *> &vouchers, bool testPrint,
                    const CliOptions &options, OperatorInteraction &interaction);
