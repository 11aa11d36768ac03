#include "accessiblesearch.h"
#include "nextmodal.h"
#include "routerharness.h"
#include "scriptedfilechooser.h"
#include "sellingfixture.h"
#include "testmain.h"

#include "config/appsettings.h"
#include "config/routersfile.h"
#include "session/sessionfacade.h"
#include "ui/app/cmikrotikapiapp.h"
#include "ui/app/workingwindows.h"
#include "ui/framework/csymboledit.h"
#include "ui/framework/uiresources.h"
#include "ui/login/cmikrotikapidlg.h"
#include "ui/setup/chotspotprofiledialog.h"
#include "ui/setup/chotspotsetup.h"
#include "ui/setup/csetuptabdialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString DiscardQuestion = u"Deseja sair e não salvar as modificações de configuração?"_s;
const QString NoSettingsUser =
    u"Não existem usuário(s) com permissões de configuração.\nPor favor crie ao menos "
    "um usuário com essa permissão."_s;
const QString EqualPrefixes =
    u"Os prefixos do usuário do User-manager e os prefixos do usuário do HotSpot devem ser diferentes para "
    "evitar duplicação de usuários.\nPor favor modifique o prefixo do usuário do User-manager ou do HotSpot."_s;
const QString BadInterval = u"Introduza um intervalo de execução correto."_s;

// The simulated router, its API user with a password.
routersim::RouterState routerWithPassword()
{
    routersim::RouterState router = routersim::defaultRouterState();
    router.apiUsers[0].password = QStringLiteral("senha-api");
    return router;
}

// The setup over the harness's simulated router ("Sim"), with the program
// users "dono" (setup access) and "caixa".
struct Fixture
{
    Fixture()
    {
        started = h.start();
        h.state.users = {{u"dono"_s, u"Segredo"_s, true, false, false},
                         {u"caixa"_s, u"1234"_s, false, false, false}};
        h.state.currentUser = -1;
        h.state.routers[0].ApiPassword = u"senha-api"_s;
        loadUiResources(resources);
    }

    // Opens the setup, not modal, so the test drives it directly.
    CSetupTabDialog &open(bool resetCredentials = false)
    {
        setup = std::make_unique<CSetupTabDialog>(session, h.interaction, resources,
                                                  SetupChoosers{printers, files}, resetCredentials);
        setup->show();
        return *setup;
    }
    CHotSpotSetup *routersPage() const { return qobject_cast<CHotSpotSetup *>(setup->page(1)); }
    QLineEdit *edit(const QString &label) const { return findField(setup.get(), label); }
    QString dataFile(const QString &name) const { return QDir(h.state.paths.dataFolder).filePath(name); }

    RouterHarness h{routerWithPassword()};
    bool started = false;
    SessionFacade session{h.state, h.interaction};
    UiResources resources;
    ScriptedPrinterChooser printers;
    ScriptedFileChooser files;
    std::unique_ptr<CSetupTabDialog> setup;
};

} // namespace

class SetupWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void okNeedsAUserWithSettingsAccess();
    void cancelAsksOnlyAfterChanges();
    void listFilesWrittenOnlyWhenChanged();
    void failedSaveKeepsTheSetupOpen();
    void resetCredentials_data();
    void resetCredentials();
    void routersPageRefusals_data();
    void routersPageRefusals();
    void profileEditorOffersTheRoutersNames();
    void scriptGoesToEveryHotSpotRouterInOrder();
    void loginWindowOpensTheSetup();
    void resetOpensTheSetupAfterTheQuestion();
    void firstStartOpensTheSetup();
};

void SetupWindowTest::okNeedsAUserWithSettingsAccess()
{
    Fixture f;
    QVERIFY(f.started);
    f.h.state.users[0].SettingsAccess = false;
    CSetupTabDialog &setup = f.open();
    setup.selectTab(1);
    setup.accept();
    QCOMPARE(f.h.interaction.texts(), QStringList{NoSettingsUser});
    QCOMPARE(setup.tabs()->currentIndex(), 0);
    QVERIFY(setup.isVisible());
    QVERIFY(!QFile::exists(f.h.state.paths.settingsFile));
    QVERIFY(!f.h.state.settings.SettingsPresent);
}

void SetupWindowTest::cancelAsksOnlyAfterChanges()
{
    Fixture f;
    QVERIFY(f.started);
    CSetupTabDialog &setup = f.open();
    setup.reject();
    QVERIFY(f.h.interaction.events.isEmpty());
    QVERIFY(!setup.isVisible());

    CSetupTabDialog &again = f.open();
    again.selectTab(1);
    QLineEdit *prefix = f.edit(u"Prefixo Hotspot:"_s);
    QVERIFY(prefix);
    prefix->selectAll();
    QTest::keyClicks(prefix, u"vend"_s);
    f.h.interaction.answer({Answer::No});
    QTest::keyClick(&again, Qt::Key_Escape);
    QCOMPARE(f.h.interaction.texts(), QStringList{DiscardQuestion});
    QCOMPARE(f.h.interaction.events[0].icon, MessageIcon::Warning);
    QVERIFY(again.isVisible());
    QCOMPARE(prefix->text(), u"vend"_s);

    f.h.interaction.answer({Answer::Yes});
    again.close();
    QVERIFY(!again.isVisible());
    QCOMPARE(f.h.state.settings.GenerateHotSpotUserPrefix, u"usr"_s);
    QVERIFY(!QFile::exists(f.h.state.paths.settingsFile));
}

void SetupWindowTest::listFilesWrittenOnlyWhenChanged()
{
    Fixture f;
    QVERIFY(f.started);
    f.h.state.routers.append(unreachableRouter(u"Filial"_s));
    f.open().accept();
    QVERIFY(!f.setup->isVisible());
    QVERIFY(QFile::exists(f.h.state.paths.settingsFile));
    QVERIFY(!QFile::exists(f.dataFile(u"Routers.bin"_s)));
    QVERIFY(!QFile::exists(f.dataFile(u"HotSpotProfiles.bin"_s)));

    // Deleting a router is a change of the routers page.
    CSetupTabDialog &setup = f.open();
    setup.selectTab(1);
    QListWidget *routers = f.routersPage()->routerList();
    routers->setCurrentRow(0);
    f.h.interaction.answer({Answer::Yes});
    f.routersPage()->deleteRouter();
    QCOMPARE(f.h.interaction.texts().last(), u"Você deseja apagar o router selecionado?"_s);
    setup.accept();
    QVERIFY(!setup.isVisible());
    QList<RouterConfig> onDisk;
    QCOMPARE(loadRouters(f.h.state.paths.dataFolder, onDisk), ListFileState::Whole);
    QCOMPARE(onDisk.size(), 1);
    QCOMPARE(onDisk[0].Name, u"Filial"_s);
    QCOMPARE(f.h.state.routers, onDisk);
}

// A data folder that cannot be written: the operator is told, the setup stays
// open with the edits, and a later OK writes them.
void SetupWindowTest::failedSaveKeepsTheSetupOpen()
{
    Fixture f;
    QVERIFY(f.started);
    const QString dataFolder = f.h.state.paths.dataFolder;
    QFile blocker(f.h.folder.path() + u"/blocked"_s);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    f.h.state.paths.dataFolder = blocker.fileName() + u"/data"_s;

    CSetupTabDialog &setup = f.open();
    f.routersPage()->routerList()->setCurrentRow(0);
    f.h.interaction.answer({Answer::Yes});
    f.routersPage()->deleteRouter();
    setup.accept();
    QVERIFY(setup.isVisible());
    QCOMPARE(f.h.interaction.texts().last(), u"Ocorreu um erro inesperado salvar as definições do router."_s);
    QCOMPARE(f.h.state.routers.size(), 1);

    f.h.state.paths.dataFolder = dataFolder;
    setup.accept();
    QVERIFY(!setup.isVisible());
    QVERIFY(f.h.state.routers.isEmpty());
    QVERIFY(QFile::exists(f.dataFile(u"Routers.bin"_s)));
}

void SetupWindowTest::resetCredentials_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addRow("confirmed") << true;
    QTest::addRow("cancelled") << false;
}

// After the reset the routers are edited without their API credentials; only
// a confirmed setup stores that, a cancelled one keeps the stored ones.
void SetupWindowTest::resetCredentials()
{
    QFETCH(bool, confirm);
    Fixture f;
    QVERIFY(f.started);
    CSetupTabDialog &setup = f.open(true);
    if (confirm)
        setup.accept();
    else
        setup.reject();
    QVERIFY(!setup.isVisible());
    const RouterConfig &router = f.h.state.routers[0];
    QCOMPARE(router.ApiUser, confirm ? QString() : u"admin"_s);
    QCOMPARE(router.ApiPassword, confirm ? QString() : u"senha-api"_s);
    QCOMPARE(QFile::exists(f.dataFile(u"Routers.bin"_s)), confirm);
}

void SetupWindowTest::routersPageRefusals_data()
{
    QTest::addColumn<QString>("userManagerPrefix");
    QTest::addColumn<QString>("hotSpotPrefix");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("message");
    QTest::addRow("equal prefixes") << u"user"_s << u"user"_s << u"10m"_s << EqualPrefixes;
    QTest::addRow("two empty prefixes") << QString() << QString() << u"10m"_s << EqualPrefixes;
    QTest::addRow("prefixes differing in case") << u"user"_s << u"User"_s << u"10m"_s << QString();
    QTest::addRow("interval zero") << u"user"_s << u"usr"_s << u"0"_s << BadInterval;
    QTest::addRow("interval without a unit") << u"user"_s << u"usr"_s << u"15"_s << BadInterval;
    QTest::addRow("interval empty") << u"user"_s << u"usr"_s << QString() << BadInterval;
}

void SetupWindowTest::routersPageRefusals()
{
    QFETCH(QString, userManagerPrefix);
    QFETCH(QString, hotSpotPrefix);
    QFETCH(QString, interval);
    QFETCH(QString, message);
    Fixture f;
    QVERIFY(f.started);
    CSetupTabDialog &setup = f.open();
    setup.selectTab(1);
    const std::pair<QString, QString> typed[] = {{u"Prefixo User-manager:"_s, userManagerPrefix},
                                                 {u"Prefixo Hotspot:"_s, hotSpotPrefix},
                                                 {u"Intervalo de execução:"_s, interval}};
    for (const auto &[label, text] : typed) {
        QLineEdit *edit = f.edit(label);
        QVERIFY2(edit, qPrintable(label));
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    setup.selectTab(0);
    setup.accept();
    if (message.isEmpty()) {
        QVERIFY(f.h.interaction.events.isEmpty());
        QVERIFY(!setup.isVisible());
        QCOMPARE(f.h.state.settings.GenerateHotSpotUserPrefix, hotSpotPrefix);
        return;
    }
    QCOMPARE(f.h.interaction.texts(), QStringList{message});
    QCOMPARE(f.h.interaction.events[0].icon, MessageIcon::Warning);
    QCOMPARE(setup.tabs()->currentIndex(), 1);
    QVERIFY(setup.isVisible());
    QVERIFY(!QFile::exists(f.h.state.paths.settingsFile));
}

// The profile editor lists the router's hotspot user profiles and servers,
// read once while the page is open.
void SetupWindowTest::profileEditorOffersTheRoutersNames()
{
    Fixture f;
    QVERIFY(f.started);
    CSetupTabDialog &setup = f.open();
    setup.selectTab(1);
    QStringList profiles, servers;
    for (int round = 0; round < 2; ++round) {
        onNextModal([&](QWidget *dialog) {
            QVERIFY(qobject_cast<CHotSpotProfileDialog *>(dialog));
            for (QComboBox *combo : dialog->findChildren<QComboBox *>()) {
                QStringList items;
                for (int i = 0; i < combo->count(); ++i)
                    items.append(combo->itemText(i));
                (items.value(0) == u"(Todos)"_s ? servers : profiles) = items;
            }
        });
        f.routersPage()->addProfile();
    }
    QCOMPARE(profiles, (QStringList{u"default"_s, u"1hora"_s}));
    QCOMPARE(servers, (QStringList{u"(Todos)"_s, u"hotspot1"_s}));
    QCOMPARE(f.h.commands(),
             (QList<QStringList>{{u"/ip/hotspot/user/profile/print"_s}, {u"/ip/hotspot/print"_s}}));
    // Cancelled twice: nothing was added.
    QCOMPARE(f.routersPage()->profileList()->count(), 0);
    QVERIFY(!f.routersPage()->isModified());
}

// Two of three routers sell hotspot profiles: each gets its own session and
// its own message, in list order, and the interval is stored at once.
void SetupWindowTest::scriptGoesToEveryHotSpotRouterInOrder()
{
    Fixture f;
    QVERIFY(f.started);
    RouterConfig userManagerOnly = f.h.state.routers[0];
    userManagerOnly.Name = u"Só UM"_s;
    userManagerOnly.EnableHotSpotProfiles = false;
    f.h.state.routers.append(userManagerOnly);
    f.h.state.routers.append(unreachableRouter(u"Filial"_s));
    CSetupTabDialog &setup = f.open();
    setup.selectTab(1);
    QLineEdit *interval = f.edit(u"Intervalo de execução:"_s);
    QVERIFY(interval);
    interval->clear();
    QTest::keyClicks(interval, u"15m"_s);
    QVERIFY(pressAccessible(
        findAccessible(&setup, QAccessible::Button, u"Transferir script para o roteadores"_s)));

    QTRY_COMPARE(
        f.h.interaction.texts(),
        (QStringList{
            u"Script transferido com sucesso para o roteador.\nScript and scheduler foram criados "
            "com o nome wifiTicketer."_s,
            u"Ocorreu um erro ao conectar ao roteador Mikrotik Filial.\nVerifique se digitou o IP "
            "e a porta API corretos.\n\nCertifique que o serviço API está habilitado no roteador."_s}));
    const QList<QStringList> sent = f.h.sent();
    // One login to the simulator: "Só UM" sells no hotspot profiles.
    QCOMPARE(std::count_if(sent.cbegin(), sent.cend(),
                           [](const QStringList &s) { return s.contains(u"=name=admin"_s); }),
             1);
    QVERIFY(std::any_of(sent.cbegin(), sent.cend(),
                        [](const QStringList &s) { return s.contains(u"=interval= 00:15:00"_s); }));
    QCOMPARE(f.h.state.settings.HotSpotScheduleInterval, 900);
    AppSettings stored;
    QList<AppUser> users;
    loadSettings(f.h.state.settingsKey, stored, users);
    QCOMPARE(stored.HotSpotScheduleInterval, 900);
    QCOMPARE(f.h.interaction.waitDepth, 0);
}

// "Configuração" needs a user with setup access; the setup opens over the
// login window, which lists the routers again when it closes.
void SetupWindowTest::loginWindowOpensTheSetup()
{
    Fixture f;
    QVERIFY(f.started);
    f.h.state.settings.SettingsPresent = true;
    f.h.state.routers.append(unreachableRouter(u"Filial"_s));
    CMikrotikAPIApp app(f.h.state, f.session, f.h.interaction, f.resources);
    setSetupWindow(app, f.session, f.h.interaction, f.resources, f.printers, f.files);
    app.openLoginWindow();
    auto *login = qobject_cast<CMikrotikAPIDlg *>(app.mainWindow());
    QVERIFY(login);
    QTest::keyClicks(login->userEdit(), u"caixa"_s);
    QTest::keyClicks(login->passwordEdit(), u"1234"_s);
    QVERIFY(pressAccessible(findAccessible(login, QAccessible::Button, u"Configuração"_s)));
    QTRY_COMPARE(f.h.interaction.texts().size(), 1);
    QCOMPARE(f.h.interaction.texts()[0],
             u"Este usuário não está autorizado para acessar as configurações.\n\nEntre em contato com o "
             "administrador para detalhes."_s);

    login->userEdit()->setText(u"dono"_s);
    login->passwordEdit()->setText(u"Segredo"_s);
    bool overLogin = false;
    bool confirmed = false;
    onNextModal([&](QWidget *dialog) {
        auto *setup = qobject_cast<CSetupTabDialog *>(dialog);
        if (!setup)
            return;
        overLogin = setup->parentWidget() == login;
        auto *page = qobject_cast<CHotSpotSetup *>(setup->page(1));
        page->routerList()->setCurrentRow(0);
        f.h.interaction.answer({Answer::Yes});
        page->deleteRouter();
        setup->accept();
        confirmed = !setup->isVisible();
    });
    QVERIFY(pressAccessible(findAccessible(login, QAccessible::Button, u"Configuração"_s)));
    QTRY_VERIFY(confirmed);
    QVERIFY(overLogin);
    QTRY_COMPARE(login->item(CMikrotikAPIDlg::RouterSelectorItem)->texts[0].text, u"Filial"_s);
    QCOMPARE(login->selectedRouter(), 0);
    QCOMPARE(login->item(CMikrotikAPIDlg::RouterSelectorItem)->menu->actions().size(), 1);
}

// The reset needs no program user: after the question the setup opens with
// the routers' API credentials emptied, which its OK stores.
void SetupWindowTest::resetOpensTheSetupAfterTheQuestion()
{
    Fixture f;
    QVERIFY(f.started);
    f.h.state.settings.SettingsPresent = true;
    CMikrotikAPIApp app(f.h.state, f.session, f.h.interaction, f.resources);
    setSetupWindow(app, f.session, f.h.interaction, f.resources, f.printers, f.files);
    app.openLoginWindow();
    auto *login = qobject_cast<CMikrotikAPIDlg *>(app.mainWindow());
    QVERIFY(login);
    bool confirmed = false;
    onNextModal([&](QWidget *dialog) {
        if (auto *setup = qobject_cast<CSetupTabDialog *>(dialog)) {
            setup->accept();
            confirmed = !setup->isVisible();
        }
    });
    f.h.interaction.answer({Answer::Yes});
    Q_EMIT login->itemCommand(CMikrotikAPIDlg::MenuItem, int(CMikrotikAPIDlg::ResetCommand));
    QTRY_VERIFY(confirmed);
    QCOMPARE(
        f.h.interaction.texts(),
        QStringList{u"Você deseja redefinir os dados de autenticação? \nO usuário e senha do Mikrotik API "
                    "será redefinido."_s});
    QCOMPARE(f.h.state.routers[0].ApiUser, QString());
    QCOMPARE(f.h.state.routers[0].ApiPassword, QString());
    QList<RouterConfig> onDisk;
    QCOMPARE(loadRouters(f.h.state.paths.dataFolder, onDisk), ListFileState::Whole);
    QCOMPARE(onDisk, f.h.state.routers);
}

// A new installation: the setup opens by itself for the default program user.
void SetupWindowTest::firstStartOpensTheSetup()
{
    Fixture f;
    QVERIFY(f.started);
    f.h.state.users = {{QString(), QString(), true, false, false}};
    QVERIFY(!f.h.state.settings.SettingsPresent);
    CMikrotikAPIApp app(f.h.state, f.session, f.h.interaction, f.resources);
    setSetupWindow(app, f.session, f.h.interaction, f.resources, f.printers, f.files);
    bool setupOpened = false;
    onNextModal([&](QWidget *dialog) {
        setupOpened = qobject_cast<CSetupTabDialog *>(dialog) != nullptr;
        if (auto *setup = qobject_cast<CSetupTabDialog *>(dialog))
            setup->accept();
    });
    app.openLoginWindow();
    QTRY_VERIFY(setupOpened);
    QTRY_VERIFY(f.h.state.settings.SettingsPresent);
    QVERIFY(f.h.interaction.events.isEmpty());
}

WIFITICKETER_TEST(SetupWindowTest)
#include "setupwindowtest.moc"
