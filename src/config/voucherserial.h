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

// "VoucherSerial" as the key holds it, with damage told apart from a number.
struct StoredVoucherSerial
{
    enum class State
    {
        Held,       // `value` is the number the key holds
        Missing,    // no settings file, no key, or no such value in it
        Unreadable, // there, but damaged: see readStoredVoucherSerial
    };
    State state = State::Missing;
    quint32 value = 0;
};

// Reads "VoucherSerial" the way a run must trust it. The program writes it as
// a DWORD, and only that form is a number; the value is Unreadable when
// - the last line naming it in the file cannot be read (cut short, a digit
//   that is no hex digit, no data), or
// - it is of another type (a text, binary data) or not 4 bytes long: the
//   settings' rules would take the first 4 bytes of something that was never
//   a serial number ("12" as a text reads as 3276849).
StoredVoucherSerial readStoredVoucherSerial(const SettingsKey &key);
