#include "routerversion.h"

#include <QRegularExpression>

namespace routersim {

RouterVersion parseRouterVersion(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d+)(?:\\.(\\d+))?"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toInt(), match.captured(2).toInt()};
}

} // namespace routersim
