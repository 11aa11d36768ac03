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

    HotSpotProfile threeHours;
    threeHours.Name = u"3 horas"_s;
    threeHours.Validity = 3 * 3600;
    threeHours.RouterProfile = u"default"_s;
    threeHours.Price = 300;
    HotSpotProfile thirtyDays = threeHours;
    thirtyDays.Name = u"30 dias"_s;
    thirtyDays.Validity = 30 * 86400;
    thirtyDays.Price = 4500;
    return saveRouters(folder.dataFolder(), {sim, other}, interaction) &&
           saveHotSpotProfiles(folder.dataFolder(), {threeHours, thirtyDays}, interaction);
}
