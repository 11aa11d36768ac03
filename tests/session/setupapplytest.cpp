#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "config/appsettings.h"
#include "config/routersfile.h"
#include "config/voucherserial.h"
#include "session/appstate.h"
#include "session/setupdata.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

RouterConfig router(const QString &name)
{
    RouterConfig r;
    r.Name = name;
    r.Address = u"10.0.0.1"_s;
    r.ApiUser = u"admin"_s;
    return r;
}

// An installation with three program users, two routers, "dono" logged in on
// router "Loja".
struct Installation
{
    Installation()
    {
        state.users = {{u"caixa"_s, u"1"_s, false, false, false},
                       {u"dono"_s, u"2"_s, true, true, false},
                       {u"gerente"_s, u"3"_s, true, false, false}};
        state.currentUser = 1;
        state.routers = {router(u"Bar"_s), router(u"Loja"_s)};
        state.currentRouterIndex = 1;
        state.settings.VoucherSerial = 5;
    }

    QString dataFile(const QString &name) const { return QDir(folder.dataFolder()).filePath(name); }

    TestFolder folder;
    AppState state{folder.storagePaths()};
    ScriptedInteraction interaction;
};

} // namespace

class SetupApplyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyChangedListsAreWritten();
    void loggedInUserAndRouterAreFoundAgainByName();
    void untouchedSerialKeepsSerialsTakenMeanwhile();
    void failedWriteKeepsMemoryAsOnDisk();
};

void SetupApplyTest::onlyChangedListsAreWritten()
{
    Installation in;
    SetupData edited = setupData(in.state);
    edited.settings.GenerateUserPrefix = u"um"_s;
    QVERIFY(applySetup(in.state, edited, in.interaction));
    QVERIFY(in.interaction.events.isEmpty());
    QVERIFY(QFile::exists(in.folder.settingsFile()));
    QVERIFY(in.state.settings.SettingsPresent);
    QCOMPARE(in.state.settings.GenerateUserPrefix, u"um"_s);
    for (const QString &name : {u"Routers.bin"_s, u"HotSpotProfiles.bin"_s, u"UserDatabase.bin"_s})
        QVERIFY2(!QFile::exists(in.dataFile(name)), qPrintable(name));

    edited.routers.removeFirst();
    edited.userNames = {u"ana"_s};
    QVERIFY(applySetup(in.state, edited, in.interaction));
    QList<RouterConfig> onDisk;
    QCOMPARE(loadRouters(in.folder.dataFolder(), onDisk), RoutersFileState::Read);
    QCOMPARE(onDisk, QList<RouterConfig>{router(u"Loja"_s)});
    QVERIFY(QFile::exists(in.dataFile(u"UserDatabase.bin"_s)));
    QVERIFY(!QFile::exists(in.dataFile(u"HotSpotProfiles.bin"_s)));
    QCOMPARE(in.state.userNames, QStringList{u"ana"_s});
}

// The lists were replaced: positions taken before mean nothing any more.
void SetupApplyTest::loggedInUserAndRouterAreFoundAgainByName()
{
    Installation in;
    SetupData edited = setupData(in.state);
    edited.users = {in.state.users[2], in.state.users[1]};
    edited.routers = {router(u"Loja"_s), router(u"Praia"_s)};
    QVERIFY(applySetup(in.state, edited, in.interaction));
    QCOMPARE(in.state.currentUser, 1);
    QCOMPARE(currentUserName(in.state), u"dono"_s);
    QCOMPARE(in.state.currentRouterIndex, 0);

    edited.users = {in.state.users[0]};
    edited.routers = {router(u"Praia"_s)};
    QVERIFY(applySetup(in.state, edited, in.interaction));
    QCOMPARE(in.state.currentUser, -1);
    QCOMPARE(in.state.currentRouter(), nullptr);
}

// The command line may make vouchers while the setup is open; the serial field
// left as shown must not hand out their serials again.
void SetupApplyTest::untouchedSerialKeepsSerialsTakenMeanwhile()
{
    Installation in;
    const SetupData shown = setupData(in.state);
    QVERIFY(writeVoucherSerial(in.state.settingsKey, 9));
    QVERIFY(applySetup(in.state, shown, in.interaction));
    QCOMPARE(in.state.settings.VoucherSerial, 9u);
    QCOMPARE(readVoucherSerial(in.state.settingsKey), std::optional<quint32>(9));

    SetupData typed = setupData(in.state);
    typed.settings.VoucherSerial = 100;
    QVERIFY(applySetup(in.state, typed, in.interaction));
    QCOMPARE(readVoucherSerial(in.state.settingsKey), std::optional<quint32>(100));
}

void SetupApplyTest::failedWriteKeepsMemoryAsOnDisk()
{
    Installation in;
    // A file where the data folder should be: nothing can be written there.
    QFile blocker(in.folder.path() + u"/blocked"_s);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    in.state.paths.dataFolder = blocker.fileName() + u"/data"_s;
    const QList<RouterConfig> before = in.state.routers;

    SetupData edited = setupData(in.state);
    edited.routers.removeFirst();
    edited.users.removeFirst();
    QVERIFY(!applySetup(in.state, edited, in.interaction));
    QCOMPARE(in.interaction.texts(),
             QStringList{u"Ocorreu um erro inesperado salvar as definições do router."_s});
    QCOMPARE(in.state.routers, before);
    QCOMPARE(in.state.currentRouterIndex, 1);
    // What could be written was: the settings and the program users.
    QCOMPARE(in.state.users.size(), 2);
    QCOMPARE(currentUserName(in.state), u"dono"_s);
}

WIFITICKETER_TEST(SetupApplyTest)
#include "setupapplytest.moc"
