#include "paths.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString fromEnvironmentOr(const char *variable, QStandardPaths::StandardLocation location,
                          const QString &tail)
{
    QString overridden = qEnvironmentVariable(variable);
    if (!overridden.isEmpty())
        return overridden;
    QString base = QStandardPaths::writableLocation(location);
    return base.isEmpty() ? QString() : base + tail;
}

} // namespace

QString defaultSettingsFile()
{
    return fromEnvironmentOr("WIFITICKETER_SETTINGS", QStandardPaths::GenericConfigLocation,
                             u"/wifiTicketer/settings.reg"_s);
}

QString defaultDataFolder()
{
    return fromEnvironmentOr("WIFITICKETER_DATA_DIR", QStandardPaths::GenericDataLocation,
                             u"/wifiTicketer"_s);
}

bool ensureFolder(const QString &folder)
{
    return !folder.isEmpty() && QDir().mkpath(folder);
}
