#pragma once

#include <QString>

// The key of a router's design map file: eight upper-case hexadecimal digits
// of a CRC-32 over the router's name as UTF-16LE bytes. The register starts at
// 0xFFFF9AEF rather than the usual all ones, so existing map files keep their
// names only with exactly this computation.
QString designMapKey(const QString &routerName);
