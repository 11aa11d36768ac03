#include "routerstate.h"

#include "recordfields.h"

namespace routersim {

QString takeId(RouterState &state)
{
    return QStringLiteral("*") + QString::number(state.nextId++, 16).toUpper();
}

void assignMissingIds(RouterState &state)
{
    forEachRecordList(state, [&state](const QString &, auto &records) {
        for (const auto &record : records) {
            bool ok = false;
            const int number = record.id.startsWith(u'*') ? record.id.mid(1).toInt(&ok, 16) : 0;
            if (ok && number >= state.nextId)
                state.nextId = number + 1;
        }
    });
    forEachRecordList(state, [&state](const QString &, auto &records) {
        for (auto &record : records) {
            if (record.id.isEmpty())
                record.id = takeId(state);
        }
    });
}

RouterState defaultRouterState()
{
    RouterState state;
    state.version = QStringLiteral("6.48.6 (stable)");
    state.apiUsers = {{{}, QStringLiteral("admin"), {}}};
    state.hotspotUserProfiles = {{{}, QStringLiteral("default")}, {{}, QStringLiteral("1hora")}};
    state.hotspotServers = {{{}, QStringLiteral("hotspot1")}};
    state.userManagerProfiles = {
        {{}, QStringLiteral("1dia"), QStringLiteral("5.00"), QStringLiteral("1d"), QStringLiteral("admin")},
        {{}, QStringLiteral("7dias"), QStringLiteral("25.00"), QStringLiteral("7d"), QStringLiteral("admin")},
    };
    state.customers = {{{}, QStringLiteral("admin")}};
    assignMissingIds(state);
    return state;
}

RouterState routerStateOfVersion(const QString &version)
{
    RouterState state = defaultRouterState();
    state.version = version;
    state.userManagerCredits = {
        {{}, QStringLiteral("1dia"), QStringLiteral("500"), QStringLiteral("1d"), QStringLiteral("admin")},
        {{}, QStringLiteral("7dias"), QStringLiteral("2500"), QStringLiteral("7d"), QStringLiteral("admin")},
    };
    assignMissingIds(state);
    return state;
}

} // namespace routersim
