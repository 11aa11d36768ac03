#pragma once

#include <QStringList>

// Collects the RouterOS API client's diagnostics while it lives, instead of
// letting them reach the terminal; other Qt messages go on as before.
class CapturedApiDiagnostics
{
public:
    CapturedApiDiagnostics();
    ~CapturedApiDiagnostics();
    CapturedApiDiagnostics(const CapturedApiDiagnostics &) = delete;
    CapturedApiDiagnostics &operator=(const CapturedApiDiagnostics &) = delete;

    // The diagnostics so far, one a line, in order.
    QStringList lines() const;
};
