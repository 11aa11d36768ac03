#include "accessiblesearch.h"
#include "routerharness.h"
#include "testmain.h"

#include "session/sessionfacade.h"
#include "ui/framework/csymboledit.h"
#include "ui/framework/uiresources.h"
#include "ui/login/cmikrotikapidlg.h"

#include <QAccessible>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString WrongUser =
    u"Nome de usuário ou senha inválido.\n\nPor padrão os campos Nome de usuário e senha são "
    "vazios."_s;

// The login window over the harness's simulated router, with two program
// users ("dono" with setup access, "caixa" without) and a second, unreachable
// router.
struct Fixture
{
    Fixture()
    {
        started = h.start();
        h.state.users = {{u"dono"_s, u"Segredo"_s, true, false, false},
                         {u"caixa"_s, u"1234"_s, false, false, false}};
        h.state.routers.append(unreachableRouter(u"Filial"_s));
        loadUiResources(resources);
        window = std::make_unique<CMikrotikAPIDlg>(session, h.interaction, resources);
        window->show();
        window->activateWindow();
    }

    // Types into the two fields and presses Enter.
    void typeAndEnter(const QString &name, const QString &password)
    {
        QTest::keyClicks(window->userEdit(), name);
        QTest::keyClicks(window->passwordEdit(), password);
        QTest::keyClick(window->passwordEdit(), Qt::Key_Return);
    }

    RouterHarness h;
    bool started = false;
    SessionFacade session{h.state, h.interaction};
    UiResources resources;
    std::unique_ptr<CMikrotikAPIDlg> window;
};

} // namespace

class LoginWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusals_data();
    void refusals();
    void loginStartsTheRouterSession();
    void unreachableRouterKeepsTheWindow();
    void routerMenuSelects();
    void keyboard();
    void framesGlowWithTheFocus();
    void reachableByScreenReaders();
};

void LoginWindowTest::refusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addRow("wrong password") << u"dono"_s << u"segredo"_s;
    QTest::addRow("name in other case") << u"DONO"_s << u"Segredo"_s;
    QTest::addRow("empty fields") << QString() << QString();
    QTest::addRow("unknown user") << u"gerente"_s << u"Segredo"_s;
}

// A refused login says why, contacts no router and leaves what was typed.
void LoginWindowTest::refusals()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    Fixture f;
    QVERIFY(f.started);
    QSignalSpy loggedIn(f.window.get(), &CMikrotikAPIDlg::loggedIn);

    f.typeAndEnter(name, password);
    QCOMPARE(f.h.interaction.texts(), QStringList{WrongUser});
    QCOMPARE(f.h.interaction.events[0].icon, MessageIcon::Error);
    QCOMPARE(loggedIn.size(), 0);
    QVERIFY(f.h.sent().isEmpty());
    QCOMPARE(f.window->userEdit()->text(), name);
    QCOMPARE(f.window->passwordEdit()->text(), password);
    QCOMPARE(f.h.state.currentUser, -1);
}

void LoginWindowTest::loginStartsTheRouterSession()
{
    Fixture f;
    QVERIFY(f.started);
    QSignalSpy loggedIn(f.window.get(), &CMikrotikAPIDlg::loggedIn);
    f.typeAndEnter(u"caixa"_s, u"1234"_s);

    QCOMPARE(loggedIn.size(), 1);
    QCOMPARE(f.h.state.currentUser, 1);
    QCOMPARE(f.h.state.currentRouterIndex, 0);
    // The session read the router: its profiles are listed.
    QVERIFY(!f.h.state.profiles.empty());
    QCOMPARE(f.h.sent().first().first(), u"/login"_s);
    // Waited for under the wait cursor.
    QVERIFY(f.h.interaction.waitsBegun >= 1);
    QCOMPARE(f.h.interaction.waitDepth, 0);
}

void LoginWindowTest::unreachableRouterKeepsTheWindow()
{
    Fixture f;
    QVERIFY(f.started);
    QSignalSpy loggedIn(f.window.get(), &CMikrotikAPIDlg::loggedIn);
    SkinItem &selector = *f.window->item(CMikrotikAPIDlg::RouterSelectorItem);
    QTest::mouseClick(f.window.get(), Qt::LeftButton, {}, QPoint(200, 140));
    QTRY_VERIFY(selector.menu->isVisible());
    selector.menu->actions()[1]->trigger();
    QTRY_COMPARE(f.window->selectedRouter(), 1);

    f.typeAndEnter(u"caixa"_s, u"1234"_s);
    QCOMPARE(loggedIn.size(), 0);
    QCOMPARE(
        f.h.interaction.texts(),
        QStringList{u"Ocorreu um erro ao conectar ao roteador Mikrotik Filial.\nVerifique se digitou o IP e "
                    "a porta API corretos.\n\nCertifique que o serviço API está habilitado no roteador."_s});
    // The operator may pick another router and try again.
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.window->userEdit()->text(), u"caixa"_s);
}

void LoginWindowTest::routerMenuSelects()
{
    Fixture f;
    SkinItem &selector = *f.window->item(CMikrotikAPIDlg::RouterSelectorItem);
    // The first router is selected from the start.
    QCOMPARE(f.window->selectedRouter(), 0);
    QCOMPARE(selector.texts[0].text, u"Sim"_s);

    QTest::mouseClick(f.window.get(), Qt::LeftButton, {}, QPoint(200, 140));
    QTRY_VERIFY(selector.menu->isVisible());
    QStringList listed;
    for (QAction *action : selector.menu->actions())
        listed << action->text();
    QCOMPARE(listed, (QStringList{u"Sim"_s, u"Filial"_s}));
    // It opens 50 px right of and 3 px above the selector's bottom-left corner.
    QCOMPARE(selector.menu->pos(), f.window->mapToGlobal(QPoint(103 + 50, 119 + 49 - 3)));
    selector.menu->actions()[1]->trigger();
    selector.menu->close();
    QTRY_COMPARE(selector.texts[0].text, u"Filial"_s);
    QCOMPARE(f.window->selectedRouter(), 1);

    // No router at all: Login does nothing, says nothing.
    f.h.state.routers.clear();
    f.window->rebuildRouterMenu();
    QCOMPARE(f.window->selectedRouter(), -1);
    QCOMPARE(selector.texts[0].text, QString());
    QVERIFY(!f.window->logIn());
    QVERIFY(f.h.interaction.events.isEmpty());
}

void LoginWindowTest::keyboard()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QVERIFY(f.window->userEdit()->hasFocus());
    QTest::keyClick(f.window->userEdit(), Qt::Key_Tab);
    QVERIFY(f.window->passwordEdit()->hasFocus());
    QTest::keyClick(f.window->passwordEdit(), Qt::Key_Tab);
    QVERIFY(f.window->userEdit()->hasFocus());
    // The password is not shown.
    QCOMPARE(f.window->passwordEdit()->echoMode(), QLineEdit::Password);

    // Escape closes the window.
    QTest::keyClick(f.window->userEdit(), Qt::Key_Escape);
    QVERIFY(!f.window->isVisible());
}

void LoginWindowTest::framesGlowWithTheFocus()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    const SkinItem &user = *f.window->item(CMikrotikAPIDlg::UserFrameItem);
    const SkinItem &password = *f.window->item(CMikrotikAPIDlg::PasswordFrameItem);
    const auto glowing = f.resources.skins.load(u":/ui/field-user-glow.png"_s).image;
    const auto plainPassword = f.resources.skins.load(u":/ui/field-password.png"_s).image;
    QCOMPARE(user.normalImage.image, glowing);
    QCOMPARE(password.normalImage.image, plainPassword);
    QTest::keyClick(f.window->userEdit(), Qt::Key_Tab);
    QVERIFY(user.normalImage.image != glowing);
    QCOMPARE(password.normalImage.image, f.resources.skins.load(u":/ui/field-password-glow.png"_s).image);
}

void LoginWindowTest::reachableByScreenReaders()
{
    Fixture f;
    QVERIFY(f.started);
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(f.window.get());
    QCOMPARE(window->text(QAccessible::Name), u"wifiTicketer login"_s);
    const QList<std::pair<QAccessible::Role, QString>> buttons = {{QAccessible::Button, u"Login"_s},
                                                                  {QAccessible::Button, u"Fechar"_s},
                                                                  {QAccessible::ButtonMenu, u"Menu"_s},
                                                                  {QAccessible::ButtonMenu, u"Sim"_s}};
    for (const auto &[role, name] : buttons) {
        QAccessibleInterface *button = findAccessible(f.window.get(), role, name);
        QVERIFY2(button, qPrintable(name));
        QVERIFY(!button->state().disabled);
    }
    // The setup is not there yet: its button is shown switched off.
    QAccessibleInterface *setup = findAccessible(f.window.get(), QAccessible::Button, u"Configuração"_s);
    QVERIFY(setup);
    QVERIFY(setup->state().disabled);
    for (const QString &name : {u"Usuário"_s, u"Senha"_s})
        QVERIFY2(findAccessible(f.window.get(), QAccessible::EditableText, name), qPrintable(name));

    // Typed through the edits and pressed through the interface, as a screen
    // reader user would.
    QSignalSpy loggedIn(f.window.get(), &CMikrotikAPIDlg::loggedIn);
    QTest::keyClicks(f.window->userEdit(), u"dono"_s);
    QTest::keyClicks(f.window->passwordEdit(), u"Segredo"_s);
    QVERIFY(pressAccessible(findAccessible(f.window.get(), QAccessible::Button, u"Login"_s)));
    QTRY_COMPARE(loggedIn.size(), 1);
}

WIFITICKETER_TEST(LoginWindowTest)
#include "loginwindowtest.moc"
