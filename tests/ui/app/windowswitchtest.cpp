#include "accessiblesearch.h"
#include "routerharness.h"
#include "sellingfixture.h"
#include "testmain.h"

#include "pos/poshistory.h"
#include "session/sessionfacade.h"
#include "ui/app/cmikrotikapiapp.h"
#include "ui/app/terminationwatch.h"
#include "ui/app/workingwindows.h"
#include "ui/framework/csymboledit.h"
#include "ui/framework/uiresources.h"
#include "ui/generator/cgeneratordialog.h"
#include "ui/login/cmikrotikapidlg.h"
#include "ui/pos/cposmodewindow.h"

#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// Working windows that say which they are.
QWidget *namedWindow(const QString &name)
{
    auto *window = new QWidget;
    window->setObjectName(name);
    return window;
}

struct Fixture
{
    Fixture()
    {
        started = h.start();
        h.state.settings.SettingsPresent = true; // not a new installation: no setup at once
        h.state.users = {{u"caixa"_s, QString(), false, false, false},
                         {u"balcao"_s, QString(), false, true, false}};
        loadUiResources(resources);
    }

    RouterHarness h;
    bool started = false;
    SessionFacade session{h.state, h.interaction};
    UiResources resources;
    CMikrotikAPIApp app{h.state, session, h.interaction, resources};
};

CMikrotikAPIDlg *loginWindow(const CMikrotikAPIApp &app)
{
    return qobject_cast<CMikrotikAPIDlg *>(app.mainWindow());
}

// The program's own working windows, with the operator's answers scripted.
struct WorkingFixture : Fixture
{
    WorkingFixture() { setWorkingWindows(app, session, h.interaction, h.prompt, printers, resources); }

    // Logs in from the login window in front.
    bool logIn(const QString &user)
    {
        CMikrotikAPIDlg *login = loginWindow(app);
        if (!login)
            return false;
        QTest::keyClicks(login->userEdit(), user);
        QTest::keyClick(login->userEdit(), Qt::Key_Return);
        return QTest::qWaitFor([&] { return app.mainWindow() && !loginWindow(app); });
    }
    CPosModeWindow *pos() const { return qobject_cast<CPosModeWindow *>(app.mainWindow()); }
    CGeneratorDialog *generator() const { return qobject_cast<CGeneratorDialog *>(app.mainWindow()); }
    // Presses a drawn button of the main window as a screen reader does.
    bool press(const QString &name) const
    {
        return pressAccessible(findAccessible(app.mainWindow(), QAccessible::Button, name));
    }

    ScriptedPrinterChooser printers;
};

} // namespace

class WindowSwitchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void userLandsInTheirWindow_data();
    void userLandsInTheirWindow();
    void closingTheMainWindowEndsTheProgram();
    void modesSwitchBothWays();
    void fullScreenSurvivesANewLogin();
    void terminationIsAskedFor();
};

void WindowSwitchTest::userLandsInTheirWindow_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("posWindowBuilt");
    QTest::addColumn<QString>("window");
    QTest::addRow("generator user") << u"caixa"_s << true << u"generator"_s;
    QTest::addRow("POS user") << u"balcao"_s << true << u"pos"_s;
    QTest::addRow("POS user, no POS window") << u"balcao"_s << false << u"generator"_s;
}

// The login window gives way to the user's working window, which exists
// before the login window goes; the program does not end in between.
void WindowSwitchTest::userLandsInTheirWindow()
{
    QFETCH(QString, user);
    QFETCH(bool, posWindowBuilt);
    QFETCH(QString, window);
    Fixture f;
    QVERIFY(f.started);
    f.app.setWorkingWindows([](CMikrotikAPIApp &) { return namedWindow(u"generator"_s); },
                            posWindowBuilt ? [](CMikrotikAPIApp &) { return namedWindow(u"pos"_s); }
                                           : CMikrotikAPIApp::WorkingWindowFactory());
    QSignalSpy ended(&f.app, &CMikrotikAPIApp::ended);
    f.app.openLoginWindow();
    QPointer<CMikrotikAPIDlg> login = loginWindow(f.app);
    QVERIFY(login);
    QVERIFY(login->isVisible());

    QTest::keyClicks(login->userEdit(), user);
    QTest::keyClick(login->userEdit(), Qt::Key_Return);
    QTRY_VERIFY(f.app.mainWindow() && f.app.mainWindow()->objectName() == window);
    QVERIFY(f.app.mainWindow()->isVisible());
    QTRY_VERIFY(!login);
    QCOMPARE(ended.size(), 0);
}

// "Modo P&OS" opens the counter window and keeps the choice for the user;
// "Modo Normal" goes back and clears it.
void WindowSwitchTest::modesSwitchBothWays()
{
    WorkingFixture f;
    QVERIFY(f.started);
    QSignalSpy ended(&f.app, &CMikrotikAPIApp::ended);
    f.app.openLoginWindow();
    QVERIFY(f.logIn(u"caixa"_s));
    QVERIFY(f.generator());
    QPushButton *posMode = f.generator()->findChild<QPushButton *>(u"posButton"_s);
    QVERIFY(posMode && posMode->isEnabled());
    posMode->click();
    QTRY_VERIFY(f.pos());
    QVERIFY(f.pos()->isVisible());
    QVERIFY(f.h.state.users[0].PosMode);

    QVERIFY(f.press(u"Modo Normal"_s));
    QTRY_VERIFY(f.generator());
    QVERIFY(!f.h.state.users[0].PosMode);
    QCOMPARE(ended.size(), 0);
}

// Full screen is the user's: after "Sair do aplicativo" (which brings the
// login window back, the program going on) the same user's next login opens
// the counter window full screen.
void WindowSwitchTest::fullScreenSurvivesANewLogin()
{
    WorkingFixture f;
    QVERIFY(f.started);
    QSignalSpy ended(&f.app, &CMikrotikAPIApp::ended);
    f.app.openLoginWindow();
    QVERIFY(f.logIn(u"balcao"_s));
    QVERIFY(f.pos());
    QVERIFY(!f.pos()->isFullScreenMode());
    QVERIFY(f.press(u"Tela cheia"_s));
    QTRY_VERIFY(f.pos()->isFullScreenMode());

    QVERIFY(f.press(u"Sair do aplicativo"_s));
    QTRY_VERIFY(loginWindow(f.app));
    QVERIFY(loginWindow(f.app)->isVisible());
    QCOMPARE(ended.size(), 0);

    QVERIFY(f.logIn(u"balcao"_s));
    QVERIFY(f.pos());
    QVERIFY(f.pos()->isFullScreenMode());
    QVERIFY(findAccessible(f.pos(), QAccessible::Button, u"Restaurar"_s));
    QCOMPARE(f.pos()->geometry(), f.pos()->screen()->availableGeometry());
}

void WindowSwitchTest::closingTheMainWindowEndsTheProgram()
{
    Fixture f;
    QVERIFY(f.started);
    f.app.setWorkingWindows([](CMikrotikAPIApp &) { return namedWindow(u"generator"_s); });
    QSignalSpy ended(&f.app, &CMikrotikAPIApp::ended);
    f.app.openLoginWindow();
    f.app.openMainWindow();
    QCOMPARE(f.app.mainWindow()->objectName(), u"generator"_s);
    // A sale in the journal that could not be written to PosHistory.bin when
    // it was made: the exit writes it.
    f.h.folder.writeDataFile(u"HistoryPending.jsonl"_s,
                             "{\"Journal\":\"sales\",\"Sales\":[{\"Id\":\"a\",\"Title\":\"1 Hora\","
                             "\"Price\":500,\"Count\":2,\"Serials\":\"7-8\"}]}\n");
    const QString sales = posHistoryPath(f.h.folder.dataFolder());
    QVERIFY(!QFile::exists(sales));

    // Hidden (to the tray), the program goes on.
    f.app.mainWindow()->hide();
    QCoreApplication::processEvents();
    QCOMPARE(ended.size(), 0);
    // Closed for good, it ends, after writing the sales.
    f.app.mainWindow()->close();
    QTRY_COMPARE(ended.size(), 1);
    QVERIFY(!f.app.mainWindow());
    const QByteArray onDisk = f.h.folder.readDataFile(u"PosHistory.bin"_s);
    QCOMPARE(onDisk.size(), 216);
    QCOMPARE(onDisk.mid(8, 4), QByteArray("\x02\x00\x00\x00", 4));
    QCOMPARE(onDisk.mid(212, 4), QByteArray("\xf4\x01\x00\x00", 4));
}

void WindowSwitchTest::terminationIsAskedFor()
{
    TerminationWatch watch;
    QSignalSpy asked(&watch, &TerminationWatch::terminationRequested);
    std::raise(SIGTERM);
    QTRY_COMPARE(asked.size(), 1);
    std::raise(SIGHUP);
    QTRY_COMPARE(asked.size(), 2);
}

WIFITICKETER_TEST(WindowSwitchTest)
#include "windowswitchtest.moc"
