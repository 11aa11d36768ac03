#pragma once

#include <QString>

namespace routersim {

// The two numbers the commands depend on: "6.48.6 (stable)" is 6 and 48.
struct RouterVersion
{
    int major = 0;
    int minor = 0;
};

RouterVersion parseRouterVersion(const QString &text);

} // namespace routersim
