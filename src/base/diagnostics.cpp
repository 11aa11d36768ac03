#include "diagnostics.h"

#include <cstring>

Q_LOGGING_CATEGORY(apiDiagnostics, "wifiticketer.api")

bool isApiDiagnostic(const QMessageLogContext &context)
{
    return context.category && std::strcmp(context.category, apiDiagnostics().categoryName()) == 0;
}

void writeApiDiagnostic(std::FILE *stream, const QString &message)
{
    const QByteArray line = message.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fflush(stream);
}
