#include "clisimulator.h"

#include "scriptedinteraction.h"
#include "testfolder.h"

#include "base/settingskey.h"
#include "config/appsettings.h"
#include "config/hotspotprofilesfile.h"
#include "config/routersfile.h"

#include <QTcpServer>

using namespace Qt::StringLiterals;

const QStringList Operator = {u"--operator"_s, u"caixa"_s, u"--operator-password"_s, u"1234"_s};

namespace {

HotSpotProfile threeHoursProfile()
{
    HotSpotProfile profile;
    profile.Name = u"3 horas"_s;
    profile.Validity = 3 * 3600;
    profile.RouterProfile = u"default"_s;
    profile.Price = 300;
    return profile;
}

} // namespace

bool install(const TestFolder &folder, quint16 simPort)
{
    ScriptedInteraction interaction;
    AppSettings settings;
    settings.UseCurrency = u"R$ %c"_s;
    settings.HotSpotScheduleInterval = 900;
    const QList<AppUser> users = {{u"caixa"_s, u"1234"_s, false, false, false}};
    if (!saveSettings(SettingsKey(folder.settingsFile()), settings, users, interaction))
        return false;

    RouterConfig sim;
    sim.Name = u"Sim"_s;
    sim.Address = u"127.0.0.1"_s;
    sim.Port = QString::number(simPort);
    sim.ApiUser = u"admin"_s;
    sim.UserManagerAdmin = u"admin"_s;
    RouterConfig other = sim;
    other.Name = u"Outro"_s;
    QTcpServer probe; // a port that was free a moment ago
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return false;
    other.Port = QString::number(probe.serverPort());
    probe.close();

    const HotSpotProfile threeHours = threeHoursProfile();
    HotSpotProfile thirtyDays = threeHours;
    thirtyDays.Name = u"30 dias"_s;
    thirtyDays.Validity = 30 * 86400;
    thirtyDays.Price = 4500;
    return saveRouters(folder.dataFolder(), {sim, other}, interaction) &&
           saveHotSpotProfiles(folder.dataFolder(), {threeHours, thirtyDays}, interaction);
}

const QStringList Manager = {u"--operator"_s, u"gerente"_s, u"--operator-password"_s, u"4321"_s};
const QStringList Cashier = Operator;

bool installSetup(const TestFolder &folder, quint16 simPort)
{
    ScriptedInteraction interaction;
    AppSettings settings;
    settings.UseCurrency = u"R$ %c"_s;
    const QList<AppUser> users = {{u"gerente"_s, u"4321"_s, true, false, false},
                                  {u"caixa"_s, u"1234"_s, false, false, false}};
    if (!saveSettings(SettingsKey(folder.settingsFile()), settings, users, interaction))
        return false;

    RouterConfig sim;
    sim.Name = u"Sim"_s;
    sim.Address = u"127.0.0.1"_s;
    sim.Port = QString::number(simPort);
    sim.ApiUser = u"admin"_s;
    sim.ApiPassword = u"segredo"_s;
    sim.UserManagerAdmin = u"admin"_s;
    RouterConfig shop;
    shop.Name = u"Loja"_s;
    shop.Address = u"10.0.0.1"_s;
    shop.Port = u"8729"_s;
    shop.ApiUser = u"api"_s;
    shop.ApiPassword = u"velha"_s;

    const HotSpotProfile threeHours = threeHoursProfile();
    HotSpotProfile thirtyDays = threeHours;
    thirtyDays.Name = u"30 dias"_s;
    thirtyDays.Validity = 30 * 86400;
    thirtyDays.LimitUptime = 10 * 3600;
    thirtyDays.Server = u"hs1"_s;
    thirtyDays.LimitBytesTotal = u"1000000000"_s;
    thirtyDays.Price = 4500;
    return saveRouters(folder.dataFolder(), {sim, shop}, interaction) &&
           saveHotSpotProfiles(folder.dataFolder(), {threeHours, thirtyDays}, interaction);
}
