#pragma once

#include <QtGlobal>
#include <optional>

class SettingsKey;

// "VoucherSerial", the next serial number of the installation, as the settings
// key holds it now. A run reads it under the data folder's run lock, not from
// the copy loaded at start-up, because another process may have taken serials
// since. Nothing when the key or the value is missing; read with the settings'
// rules (the first 4 bytes of a value that fits the 400-byte buffer).
std::optional<quint32> readVoucherSerial(const SettingsKey &key);

// Writes the next serial number; false when the key could not be written, and
// then a serial taken must not be used: it could be given again.
bool writeVoucherSerial(const SettingsKey &key, quint32 next);
