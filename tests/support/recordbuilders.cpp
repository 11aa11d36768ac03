#include "recordbuilders.h"

using namespace Qt::StringLiterals;

HotSpotProfile defaultHotSpot(const QString &name, qint64 validity, qint32 price)
{
    HotSpotProfile profile;
    profile.Name = name;
    profile.Validity = validity;
    profile.RouterProfile = u"default"_s;
    profile.Price = price;
    return profile;
}

RouterConfig loopbackRouter(const QString &name, quint16 port, const QString &apiUser,
                            const QString &apiPassword)
{
    RouterConfig router;
    router.Name = name;
    router.Address = u"127.0.0.1"_s;
    router.Port = QString::number(port);
    router.ApiUser = apiUser;
    router.ApiPassword = apiPassword;
    return router;
}
