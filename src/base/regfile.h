#pragma once

#include "regvalue.h"

#include <QByteArray>
#include <QStringView>
#include <optional>

// The registry export format ("Windows Registry Editor Version 5.00"), so that a
// key exported on Windows can be used as it is. Files are read as UTF-16LE with a
// byte-order mark or as UTF-8, and written as UTF-8.

// The values of the key `keyPath` (compared ignoring case) found in the file, or
// nothing when the file is not a registry export or does not hold that key.
// Lines that cannot be understood are skipped.
std::optional<RegKeyValues> parseRegFile(const QByteArray &bytes, QStringView keyPath);

// A whole file holding just that key and its values.
QByteArray formatRegFile(QStringView keyPath, const RegKeyValues &values);
