#include "profilenames.h"

QStringList profileNames(const ProfileList &profiles)
{
    QStringList names;
    for (const auto &profile : profiles)
        names.append(profile->Name);
    return names;
}
