#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

class HistoryDatabase;
class OperatorInteraction;
class SettingsKey;

// The serial number a run starts from, never one the history database or the
// data folder's journal holds already: at least the floor, the highest serial
// they hold plus one. Called under the data folder's run lock, so no other run
// takes serials meanwhile. From the stored "VoucherSerial"
// (readStoredVoucherSerial):
// - a number: taken when it reaches the floor; below it, the floor, and the
//   operator is told;
// - missing (a new installation has none yet): `current`, the run's copy of the
//   settings, or the floor when that is higher, and then the operator is told;
// - unreadable: the floor, and the operator is told; when the history cannot
//   be read the floor is not known: nothing (no voucher may be made), and the
//   operator is told so.
// A serial the floor mended is written back at once, so the settings file
// holds it right even when the run makes nothing. `history` is the run's
// connection, open or not. Once the history holds MaxSerial the counter has
// come round to 1, and the floor no longer tells which serials are free.
std::optional<quint32> nextVoucherSerial(const SettingsKey &key, const QString &dataFolder,
                                         const HistoryDatabase &history, quint32 current,
                                         OperatorInteraction &interaction);
