#include "accessiblesearch.h"
#include "recordbuilders.h"
#include "routerharness.h"
#include "scriptedinteraction.h"
#include "testmain.h"

#include "session/sessionfacade.h"
#include "ui/setup/crouterdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MessageIcon)

namespace {

const QString Placeholder = u"########"_s;
const QString Connected = u"Conectado ao roteador com sucesso!"_s;
const QString LoginRefused =
    u"Ocorreu um erro durante autentição no router 127.0.0.1 .\nVerifique o usuário e senha."_s;
const QString Uploaded = u"Script transferido com sucesso para o roteador.\nScript and scheduler foram "
                         u"criados com o nome wifiTicketer."_s;
const QString NoInterval = u"Introduza um intervalo de execução correto."_s;

QString connectionMessage(const QString &routerName)
{
    return u"Ocorreu um erro ao conectar ao roteador Mikrotik %1.\nVerifique se digitou o IP e a porta API "
           u"corretos.\n\nCertifique que o serviço API está habilitado no roteador."_s.arg(routerName);
}

const QString NameLabel = u"Nome router:"_s;
const QString AddressLabel = u"IP do router:"_s;
const QString PortLabel = u"Porta API:"_s;
const QString UserLabel = u"Usuário API:"_s;
const QString PasswordLabel = u"Senha:"_s;
const QString AdminLabel = u"Admin do user-manager:"_s;
const QString IntervalLabel = u"Intervalo de execuçao:"_s;
const QString TestButton = u"Testar Conexão"_s;
const QString UploadButton = u"Transferir script para o roteador"_s;
const QString UserManagerBox = u"Habilitar profiles do user-manager"_s;
const QString HotSpotBox = u"Habilitar profiles do HotSpot"_s;
const QString MacBindingBox = u"Vincular no primeiro uso"_s;

void click(QWidget *root, const QString &name)
{
    QAbstractButton *button = findAccessibleWidget<QAbstractButton>(root, QAccessible::Button, name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Replaces a field's text the way the operator does: everything selected, then typed over.
void retype(QWidget *root, const QString &label, const QString &text)
{
    QLineEdit *edit = findField(root, label);
    QVERIFY2(edit, qPrintable(label));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// The words of the sentence the router saw after its "/login" challenge.
QStringList loginWords(const RouterHarness &h)
{
    const QList<QStringList> sent = h.sent();
    return sent.size() > 1 ? sent[1] : QStringList();
}

// The simulated router logs in "admin" with the password "segredo".
routersim::RouterState guardedRouter()
{
    routersim::RouterState router = routersim::defaultRouterState();
    router.apiUsers = {{{}, u"admin"_s, u"segredo"_s}};
    return router;
}

// A router stored with an address where nothing answers, so only what is
// typed can reach the simulator.
RouterConfig storedElsewhere()
{
    RouterConfig router = unreachableRouter(u"Longe"_s);
    router.Address = u"127.0.0.2"_s;
    router.ApiUser = u"ninguem"_s;
    router.ApiPassword = u"segredo"_s;
    router.UserManagerAdmin = u"gerente"_s;
    return router;
}

} // namespace

class RouterDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void shownAtOpening_data();
    void shownAtOpening();
    void tabOrder();
    void intervalIsRewrittenOnLeaving_data();
    void intervalIsRewrittenOnLeaving();
    void testUsesTheTypedRouter_data();
    void testUsesTheTypedRouter();
    void uploadUsesTheTypedRouter_data();
    void uploadUsesTheTypedRouter();
    void uploadFailureNamesTheTypedRouter_data();
    void uploadFailureNamesTheTypedRouter();
    void uploadRefusesNoInterval_data();
    void uploadRefusesNoInterval();
    void okStores_data();
    void okStores();
    void okRefuses_data();
    void okRefuses();
    void cancelKeepsTheRouter_data();
    void cancelKeepsTheRouter();

private:
    std::unique_ptr<RouterHarness> m_harness;
    std::unique_ptr<SessionFacade> m_session;
    QString m_simPort;
    QString m_unreachablePort;
};

void RouterDialogTest::init()
{
    m_session.reset();
    m_harness = std::make_unique<RouterHarness>(guardedRouter());
    QVERIFY(m_harness->start());
    m_harness->state.settings.HotSpotScheduleInterval = 600;
    m_session = std::make_unique<SessionFacade>(m_harness->state, m_harness->interaction);
    m_simPort = m_harness->state.routers[0].Port;
    m_unreachablePort = storedElsewhere().Port;
}

void RouterDialogTest::shownAtOpening_data()
{
    QTest::addColumn<bool>("newRouter");
    QTest::addColumn<qint64>("interval");
    QTest::addColumn<QString>("intervalText");

    QTest::addRow("stored router, ten minutes") << false << qint64(600) << u"00:10:00"_s;
    QTest::addRow("new router, one day") << true << qint64(86400) << u"1d"_s;
    QTest::addRow("day and time") << false << qint64(90000) << u"1d 01:00:00"_s;
}

void RouterDialogTest::shownAtOpening()
{
    QFETCH(bool, newRouter);
    QFETCH(qint64, interval);
    QFETCH(QString, intervalText);

    RouterConfig router;
    if (!newRouter) {
        router = storedElsewhere();
        router.EnableUserManagerProfiles = false;
        router.MacBinding = true;
    }
    const RouterConfig before = router;
    CRouterDialog dialog(router, interval, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QCOMPARE(dialog.windowTitle(), u"Configuração do roteador"_s);
    QCOMPARE(findField(&dialog, NameLabel)->text(), before.Name);
    QCOMPARE(findField(&dialog, AddressLabel)->text(), before.Address);
    QCOMPARE(findField(&dialog, PortLabel)->text(), newRouter ? u"8728"_s : before.Port);
    QCOMPARE(findField(&dialog, UserLabel)->text(), before.ApiUser);
    // The stored password is never shown, not even hidden behind dots.
    QLineEdit *password = findField(&dialog, PasswordLabel);
    QCOMPARE(password->text(), Placeholder);
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QCOMPARE(findField(&dialog, AdminLabel)->text(), before.UserManagerAdmin);
    QCOMPARE(findField(&dialog, IntervalLabel)->text(), intervalText);
    QCOMPARE(
        findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::CheckBox, UserManagerBox)->isChecked(),
        newRouter);
    QCOMPARE(findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::CheckBox, HotSpotBox)->isChecked(),
             true);
    QCOMPARE(
        findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::CheckBox, MacBindingBox)->isChecked(),
        !newRouter);
    // The check box of MAC binding is captioned by its label too.
    bool macLabelled = false;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        macLabelled |= label->text() == u"Vincular MAC:" &&
                       label->buddy() == findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::CheckBox,
                                                                               MacBindingBox);
    QVERIFY(macLabelled);
    for (const QString &button : {TestButton, UploadButton, u"Ok"_s, u"Cancelar"_s})
        QVERIFY2(findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::Button, button),
                 qPrintable(button));
    QCOMPARE(m_harness->sent(), QList<QStringList>());
}

void RouterDialogTest::tabOrder()
{
    RouterConfig router = storedElsewhere();
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    const QStringList expected = {NameLabel,     AddressLabel, PortLabel,      UserLabel,
                                  PasswordLabel, TestButton,   UserManagerBox, HotSpotBox,
                                  MacBindingBox, AdminLabel,   IntervalLabel,  UploadButton};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        visited.append(QAccessible::queryAccessibleInterface(focused)->text(QAccessible::Name));
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

void RouterDialogTest::intervalIsRewrittenOnLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::addRow("minutes") << u"90m"_s << u"01:30:00"_s;
    QTest::addRow("a day") << u"1d"_s << u"1d"_s;
    QTest::addRow("weeks, days and hours") << u"1w2d3h"_s << u"9d 03:00:00"_s;
    QTest::addRow("seconds") << u"600s"_s << u"00:10:00"_s;
    QTest::addRow("a number without unit counts nothing") << u"1d 12"_s << u"1d"_s;
    QTest::addRow("zero") << u"0"_s << QString();
    QTest::addRow("not a duration") << u"sempre"_s << QString();
}

void RouterDialogTest::intervalIsRewrittenOnLeaving()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    RouterConfig router = storedElsewhere();
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, IntervalLabel, typed);
    QLineEdit *interval = findField(&dialog, IntervalLabel);
    QCOMPARE(interval->text(), typed);
    QTest::keyClick(interval, Qt::Key_Tab);
    QVERIFY(!interval->hasFocus());
    QCOMPARE(interval->text(), shown);
    QCOMPARE(m_harness->sent(), QList<QStringList>());
}

void RouterDialogTest::testUsesTheTypedRouter_data()
{
    QTest::addColumn<bool>("typePassword");
    QTest::addColumn<QString>("storedPassword");
    QTest::addColumn<QString>("typedPassword");
    QTest::addColumn<QString>("message");
    QTest::addColumn<MessageIcon>("icon");

    QTest::addRow("placeholder left: the stored password")
        << false << u"segredo"_s << QString() << Connected << MessageIcon::Information;
    QTest::addRow("typed password over a wrong stored one")
        << true << u"velha"_s << u"segredo"_s << Connected << MessageIcon::Information;
    QTest::addRow("wrong typed password")
        << true << u"segredo"_s << u"errada"_s << LoginRefused << MessageIcon::Error;
}

void RouterDialogTest::testUsesTheTypedRouter()
{
    QFETCH(bool, typePassword);
    QFETCH(QString, storedPassword);
    QFETCH(QString, typedPassword);
    QFETCH(QString, message);
    QFETCH(MessageIcon, icon);

    RouterConfig router = storedElsewhere();
    router.ApiPassword = storedPassword;
    const RouterConfig before = router;
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, AddressLabel, u"127.0.0.1"_s);
    retype(&dialog, PortLabel, m_simPort);
    retype(&dialog, UserLabel, u"admin"_s);
    if (typePassword)
        retype(&dialog, PasswordLabel, typedPassword);
    click(&dialog, TestButton);

    // The router accepts "segredo" only: the outcome tells which password went.
    QCOMPARE(m_harness->interaction.texts(), QStringList{message});
    QCOMPARE(m_harness->interaction.events[0].icon, icon);
    const QStringList login = loginWords(*m_harness);
    QCOMPARE(login.value(0), u"/login"_s);
    QCOMPARE(login.value(1), u"=name=admin"_s);
    // Logged out again either way, and nothing else was sent.
    QCOMPARE(m_harness->sent().last(), QStringList{u"/quit"_s});
    QCOMPARE(m_harness->commands(), QList<QStringList>());
    QCOMPARE(m_harness->interaction.waitDepth, 0);
    QVERIFY(dialog.isVisible());
    QCOMPARE(router, before);
}

void RouterDialogTest::uploadUsesTheTypedRouter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("intervalWord");

    QTest::addRow("ninety minutes") << u"Filial"_s << u"90m"_s << u"=interval= 01:30:00"_s;
    QTest::addRow("a day, no name") << QString() << u"1d"_s << u"=interval=1d 00:00:00"_s;
    QTest::addRow("a week and a clock") << u"Filial"_s << u"1w 02:00:00"_s << u"=interval=7d 02:00:00"_s;
}

void RouterDialogTest::uploadUsesTheTypedRouter()
{
    QFETCH(QString, name);
    QFETCH(QString, interval);
    QFETCH(QString, intervalWord);

    RouterConfig router = storedElsewhere();
    const RouterConfig before = router;
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, NameLabel, name);
    retype(&dialog, AddressLabel, u"127.0.0.1"_s);
    retype(&dialog, PortLabel, m_simPort);
    retype(&dialog, UserLabel, u"admin"_s);
    retype(&dialog, IntervalLabel, interval);
    click(&dialog, UploadButton);

    // Logged in with the stored password ("segredo"), the only one the router takes.
    QCOMPARE(m_harness->interaction.texts(), QStringList{Uploaded});
    QCOMPARE(loginWords(*m_harness).value(1), u"=name=admin"_s);
    const QList<QStringList> commands = m_harness->commands();
    QCOMPARE(commands.size(), 4);
    QCOMPARE(commands[0], (QStringList{u"/system/script/print"_s, u"?name=wifiTicketer"_s}));
    QCOMPARE(commands[1], (QStringList{u"/system/scheduler/print"_s, u"?name=wifiTicketer"_s}));
    QCOMPARE(commands[2].mid(0, 2), (QStringList{u"/system/script/add"_s, u"=name=wifiTicketer"_s}));
    QCOMPARE(commands[3], (QStringList{u"/system/scheduler/add"_s, u"=name=wifiTicketer"_s,
                                       u"=on-event=wifiTicketer"_s, intervalWord}));
    QCOMPARE(m_harness->sent().last(), QStringList{u"/quit"_s});
    QCOMPARE(m_harness->interaction.waitDepth, 0);
    // The interval of the upload is not the program's setting.
    QCOMPARE(m_harness->state.settings.HotSpotScheduleInterval, qint64(600));
    QVERIFY(dialog.isVisible());
    QCOMPARE(router, before);
}

void RouterDialogTest::uploadFailureNamesTheTypedRouter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("named");

    QTest::addRow("typed name") << u"Filial"_s << u"Filial"_s;
    QTest::addRow("no name: the typed address") << QString() << u"127.0.0.1"_s;
}

void RouterDialogTest::uploadFailureNamesTheTypedRouter()
{
    QFETCH(QString, name);
    QFETCH(QString, named);

    RouterConfig router = storedElsewhere();
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, NameLabel, name);
    retype(&dialog, AddressLabel, u"127.0.0.1"_s);
    click(&dialog, UploadButton);

    QCOMPARE(m_harness->interaction.texts(), QStringList{connectionMessage(named)});
    QCOMPARE(m_harness->interaction.events[0].icon, MessageIcon::Error);
    QCOMPARE(m_harness->sent(), QList<QStringList>());
}

void RouterDialogTest::uploadRefusesNoInterval_data()
{
    QTest::addColumn<QString>("interval");

    QTest::addRow("empty") << QString();
    QTest::addRow("zero") << u"0"_s;
    QTest::addRow("zero clock") << u"00:00:00"_s;
    QTest::addRow("not a duration") << u"sempre"_s;
}

void RouterDialogTest::uploadRefusesNoInterval()
{
    QFETCH(QString, interval);

    RouterConfig router = storedElsewhere();
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, AddressLabel, u"127.0.0.1"_s);
    retype(&dialog, PortLabel, m_simPort);
    retype(&dialog, UserLabel, u"admin"_s);
    retype(&dialog, IntervalLabel, interval);
    click(&dialog, UploadButton);

    QCOMPARE(m_harness->interaction.texts(), QStringList{NoInterval});
    QCOMPARE(m_harness->interaction.events[0].icon, MessageIcon::Warning);
    QCOMPARE(m_harness->sent(), QList<QStringList>());
    QCOMPARE(m_harness->state.settings.HotSpotScheduleInterval, qint64(600));
    QVERIFY(dialog.isVisible());
}

void RouterDialogTest::okStores_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("typePassword");
    QTest::addColumn<QString>("typedPassword");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QString>("storedPassword");

    QTest::addRow("placeholder left keeps the password")
        << u"Filial"_s << false << QString() << false << u"Filial"_s << u"segredo"_s;
    QTest::addRow("new password, Enter")
        << u"Filial"_s << true << u"nova"_s << true << u"Filial"_s << u"nova"_s;
    QTest::addRow("emptied password")
        << u"Filial"_s << true << QString() << false << u"Filial"_s << QString();
    QTest::addRow("no name: the address")
        << QString() << false << QString() << true << u"10.0.0.1"_s << u"segredo"_s;
}

void RouterDialogTest::okStores()
{
    QFETCH(QString, name);
    QFETCH(bool, typePassword);
    QFETCH(QString, typedPassword);
    QFETCH(bool, byEnter);
    QFETCH(QString, storedName);
    QFETCH(QString, storedPassword);

    RouterConfig router = storedElsewhere();
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, NameLabel, name);
    retype(&dialog, AddressLabel, u"10.0.0.1"_s);
    // The port takes digits only.
    retype(&dialog, PortLabel, u"80a81"_s);
    retype(&dialog, UserLabel, u"api"_s);
    if (typePassword)
        retype(&dialog, PasswordLabel, typedPassword);
    retype(&dialog, AdminLabel, QString());
    for (const QString &box : {UserManagerBox, HotSpotBox, MacBindingBox})
        QTest::mouseClick(findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::CheckBox, box),
                          Qt::LeftButton);
    if (byEnter)
        QTest::keyClick(findField(&dialog, UserLabel), Qt::Key_Return);
    else
        click(&dialog, u"Ok"_s);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    RouterConfig expected;
    expected.Name = storedName;
    expected.Address = u"10.0.0.1"_s;
    expected.Port = u"8081"_s;
    expected.ApiUser = u"api"_s;
    expected.ApiPassword = storedPassword;
    expected.EnableUserManagerProfiles = false;
    expected.EnableHotSpotProfiles = false;
    expected.MacBinding = true;
    expected.UserManagerAdmin = QString();
    QCOMPARE(router, expected);
    QCOMPARE(m_harness->sent(), QList<QStringList>());
}

void RouterDialogTest::cancelKeepsTheRouter_data()
{
    QTest::addColumn<bool>("byEscape");

    QTest::addRow("Escape") << true;
    QTest::addRow("Cancelar") << false;
}

void RouterDialogTest::cancelKeepsTheRouter()
{
    QFETCH(bool, byEscape);

    RouterConfig router = storedElsewhere();
    const RouterConfig before = router;
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (const QString &label : {NameLabel, AddressLabel, PortLabel, UserLabel, PasswordLabel, AdminLabel})
        retype(&dialog, label, u"123"_s);
    for (const QString &box : {UserManagerBox, HotSpotBox, MacBindingBox})
        QTest::mouseClick(findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::CheckBox, box),
                          Qt::LeftButton);
    if (byEscape)
        QTest::keyClick(findField(&dialog, NameLabel), Qt::Key_Escape);
    else
        click(&dialog, u"Cancelar"_s);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(router, before);
}

void RouterDialogTest::okRefuses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::addRow("no address") << QString() << u"8728"_s << u"Introduza o IP do roteador."_s << AddressLabel;
    QTest::addRow("no port") << u"10.0.0.1"_s << QString() << u"Introduza uma porta API correta."_s
                             << PortLabel;
    QTest::addRow("port 0") << u"10.0.0.1"_s << u"0"_s << u"Introduza uma porta API correta."_s << PortLabel;
    QTest::addRow("port 65536") << u"10.0.0.1"_s << u"65536"_s << u"Introduza uma porta API correta."_s
                                << PortLabel;
}

// A router no connection could ever reach is not stored: the operator is told
// which field to mend, the dialog stays open with it focused, and the router
// stays as it was.
void RouterDialogTest::okRefuses()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, message);
    QFETCH(QString, focused);

    const RouterConfig before = storedElsewhere();
    RouterConfig router = before;
    CRouterDialog dialog(router, 600, *m_session, m_harness->interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, AddressLabel, address);
    retype(&dialog, PortLabel, port);
    click(&dialog, u"Ok"_s);

    QCOMPARE(m_harness->interaction.texts(), QStringList{message});
    QCOMPARE(m_harness->interaction.events[0].icon, MessageIcon::Warning);
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::focusWidget(), findField(&dialog, focused));
    QCOMPARE(router, before);
}

WIFITICKETER_TEST(RouterDialogTest)
#include "routerdialogtest.moc"
