#include "recordbytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "config/appsettings.h"
#include "config/routersfile.h"
#include "config/voucherserial.h"
#include "session/appstate.h"
#include "session/setupdata.h"
#include "session/startup.h"

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
    void damagedListIsNeverSaved_data();
    void damagedListIsNeverSaved();
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
    QCOMPARE(loadRouters(in.folder.dataFolder(), onDisk), ListFileState::Whole);
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

// A list file that did not read whole at start-up is never written: the list
// in memory lacks what could not be read. OK tells the operator and the setup
// stays open; what else changed is saved.
void SetupApplyTest::damagedListIsNeverSaved_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("told");

    const QString kept =
        u"\nEle foi mantido como está e nada será gravado nele; corrija-o ou mova-o para outro "
        "lugar e inicie o programa novamente."_s;
    QTest::addRow("Routers.bin, second router's size broken")
        << u"Routers.bin"_s << withU32(fixture(u"Routers.bin"_s), 1420, 7)
        << u"A lista de roteadores não pôde ser lida por inteiro: o arquivo %1/Routers.bin está danificado."_s +
               kept;
    QTest::addRow("HotSpotProfiles.bin, cut in a record")
        << u"HotSpotProfiles.bin"_s << fixture(u"HotSpotProfiles.bin"_s).left(2000)
        << u"A lista de perfis do HotSpot não pôde ser lida por inteiro: o arquivo %1/HotSpotProfiles.bin "
           u"está "
           "danificado."_s +
               kept;
    QTest::addRow("UserDatabase.bin, a count over the limit")
        << u"UserDatabase.bin"_s << fixture(u"UserDatabase.bin"_s) + "\xff\xff"_ba
        << u"A lista de nomes de usuário não pôde ser lida por inteiro: o arquivo %1/UserDatabase.bin está "
           "danificado."_s +
               kept;
    QTest::addRow("Voucher.bin, trailing bytes")
        << u"Voucher.bin"_s << fixture(u"Voucher.bin"_s) + "\x01\x02\x03"_ba
        << u"As definições de voucher não puderam ser lidas por inteiro: o arquivo %1/Voucher.bin está "
           "danificado."_s +
               kept;
}

void SetupApplyTest::damagedListIsNeverSaved()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, told);

    TestFolder folder;
    folder.writeDataFile(file, bytes);
    AppState state(folder.storagePaths());
    startUp(state);
    const SetupData before = setupData(state);

    // Every list changes, and a setting.
    SetupData edited = setupData(state);
    edited.settings.GenerateUserPrefix = u"um"_s;
    edited.routers.append(router(u"Nova"_s));
    HotSpotProfile profile;
    profile.Name = u"Novo"_s;
    profile.Validity = 3600;
    edited.hotSpotProfiles.append(profile);
    edited.userNames.append(u"novo"_s);
    VoucherDesign design = *edited.designs.value(0);
    design.Name = u"Nova"_s;
    edited.designs.append(std::make_shared<VoucherDesign>(design));

    ScriptedInteraction interaction;
    QVERIFY(!applySetup(state, edited, interaction));
    QCOMPARE(interaction.texts(), QStringList{told.arg(folder.dataFolder())});
    QCOMPARE(interaction.events.value(0).icon, MessageIcon::Error);
    QCOMPARE(folder.readDataFile(file), bytes);

    // Memory stays as on disk for the damaged list; the others were saved.
    QStringList written = QDir(folder.dataFolder()).entryList(QDir::Files);
    QVERIFY(QFile::exists(folder.settingsFile()));
    QCOMPARE(state.settings.GenerateUserPrefix, u"um"_s);
    const auto check = [&](const QString &name, bool same) {
        QVERIFY2(same == (name == file), qPrintable(name));
        QVERIFY2(written.contains(name), qPrintable(name));
    };
    check(u"Routers.bin"_s, state.routers == before.routers);
    check(u"HotSpotProfiles.bin"_s, state.hotSpotProfiles == before.hotSpotProfiles);
    check(u"UserDatabase.bin"_s, state.userNames == before.userNames);
    check(u"Voucher.bin"_s, state.designs == before.designs);

    // With the damaged list left as it was, OK goes through.
    SetupData again = setupData(state);
    again.settings.GenerateUserPrefix = u"dois"_s;
    ScriptedInteraction quiet;
    QVERIFY(applySetup(state, again, quiet));
    QVERIFY(quiet.events.isEmpty());
    QCOMPARE(folder.readDataFile(file), bytes);
}

WIFITICKETER_TEST(SetupApplyTest)
#include "setupapplytest.moc"
