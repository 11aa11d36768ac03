#pragma once

#include <QByteArray>
#include <QtGlobal>

class ApiTransport;
class OperatorInteraction;

// The RouterOS script, named "wifiTicketer" like its scheduler entry, that
// removes hotspot users whose twelve-digit expiry stamp (the user's comment)
// lies before the router's clock. 2000 bytes, lines ended by CR LF.
extern const QByteArray ExpirationScriptSource;

enum class ScriptUpload
{
    Uploaded,  // script and scheduler entry created or updated
    NotWanted, // both were there (without force), or the operator said no
    Failed,    // the router refused, or the session broke
};

// Looks up the script and the scheduler entry on the open session and, when
// forced or when one is missing and the operator agrees, creates or updates
// both, the entry running every `intervalSeconds`. Reports the outcome to the
// operator unless nothing was wanted. The session stays open.
ScriptUpload uploadExpirationScript(ApiTransport &transport, qint64 intervalSeconds, bool force,
                                    OperatorInteraction &interaction);
