#include "apidiagnostics.h"

#include "base/diagnostics.h"

#include <QMutex>

namespace {

QMutex capturedMutex;
QStringList captured;
QtMessageHandler previousHandler = nullptr;

void capture(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isApiDiagnostic(context)) {
        QMutexLocker lock(&capturedMutex);
        captured.append(message);
    } else if (previousHandler) {
        previousHandler(type, context, message);
    }
}

} // namespace

CapturedApiDiagnostics::CapturedApiDiagnostics()
{
    QMutexLocker lock(&capturedMutex);
    captured.clear();
    previousHandler = qInstallMessageHandler(capture);
}

CapturedApiDiagnostics::~CapturedApiDiagnostics()
{
    qInstallMessageHandler(previousHandler);
}

QStringList CapturedApiDiagnostics::lines() const
{
    QMutexLocker lock(&capturedMutex);
    return captured;
}
