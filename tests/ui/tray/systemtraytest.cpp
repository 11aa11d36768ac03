#include "testmain.h"

#include "ui/framework/canimationwnd.h"
#include "ui/tray/csystemtray.h"

#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QIcon appIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkBlue);
    return QIcon(pixmap);
}

} // namespace

class SystemTrayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menu();
    void activation_data();
    void activation();
    void balloonOnce();
    void minimisedWithoutNotificationArea();
    void hiddenAndBack_data();
    void hiddenAndBack();
    void corner();
};

// Two commands, the first one in bold: what a click on the icon does.
void SystemTrayTest::menu()
{
    CSystemTray tray(appIcon());
    QCOMPARE(tray.icon()->toolTip(), u"wifiTicketer"_s);
    QCOMPARE(tray.icon()->contextMenu(), tray.menu());
    const QList<QAction *> actions = tray.menu()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0]->text(), u"Exibir wifiTicketer"_s);
    QCOMPARE(actions[1]->text(), u"Fechar wifiTicketer"_s);
    QCOMPARE(tray.menu()->defaultAction(), actions[0]);

    QSignalSpy show(&tray, &CSystemTray::showRequested);
    QSignalSpy close(&tray, &CSystemTray::closeRequested);
    actions[1]->trigger();
    QCOMPARE(close.size(), 1);
    QCOMPARE(show.size(), 0);
    actions[0]->trigger();
    QCOMPARE(show.size(), 1);
    QCOMPARE(close.size(), 1);
}

void SystemTrayTest::activation_data()
{
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<int>("shows");
    QTest::addRow("click") << QSystemTrayIcon::Trigger << 1;
    QTest::addRow("double click") << QSystemTrayIcon::DoubleClick << 1;
    QTest::addRow("context menu") << QSystemTrayIcon::Context << 0;
    QTest::addRow("middle click") << QSystemTrayIcon::MiddleClick << 0;
}

// A click on the icon asks for the window; the menu opens by itself.
void SystemTrayTest::activation()
{
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(int, shows);
    CSystemTray tray(appIcon());
    QSignalSpy show(&tray, &CSystemTray::showRequested);
    QSignalSpy close(&tray, &CSystemTray::closeRequested);
    Q_EMIT tray.icon()->activated(reason);
    QCOMPARE(show.size(), shows);
    QCOMPARE(close.size(), 0);
}

void SystemTrayTest::balloonOnce()
{
    CSystemTray tray(appIcon());
    QSignalSpy balloon(&tray, &CSystemTray::balloonShowing);
    QVERIFY(!tray.balloonShown());
    tray.showBalloonOnce();
    tray.showBalloonOnce();
    QCOMPARE(balloon.size(), 1);
    QCOMPARE(balloon[0][0].toString(), u"wifiTicketer"_s);
    QCOMPARE(balloon[0][1].toString(), u"wifiTicketer está rodando em background.\n"
                                       u"Clique no ícone da barra de tarefas para exibir."_s);
    QVERIFY(tray.balloonShown());
}

// Offscreen there is no notification area: the window goes to the taskbar,
// where it can be found again, and comes back from there.
void SystemTrayTest::minimisedWithoutNotificationArea()
{
    CSystemTray tray(appIcon());
    QVERIFY(!tray.isAvailable());
    QVERIFY(!tray.animates());
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(!tray.hideToTray(window));
    QVERIFY(window.isVisible());
    QVERIFY(window.isMinimized());
    QVERIFY(!tray.animation());
    tray.showFromTray(window);
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
}

void SystemTrayTest::hiddenAndBack_data()
{
    QTest::addColumn<bool>("animated");
    QTest::addRow("without animation") << false;
    QTest::addRow("animated") << true;
}

// With a notification area the window hides there, and comes back in front;
// animated, its picture flies to the icon's corner and back.
void SystemTrayTest::hiddenAndBack()
{
    QFETCH(bool, animated);
    CSystemTray tray(appIcon());
    tray.setAvailabilityCheck([] { return true; });
    tray.setAnimationOverride(animated);
    QWidget window;
    window.setGeometry(50, 60, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(tray.hideToTray(window));
    QVERIFY(!window.isVisible());
    QCOMPARE(tray.animation() != nullptr, animated);
    if (animated) {
        QVERIFY(!tray.animation()->isVisible());
        QCOMPARE(tray.animation()->geometry(), tray.trayRect(window));
        QVERIFY(tray.animation()->windowOpacity() < 0.01);
    }

    tray.showFromTray(window);
    QVERIFY(window.isVisible());
    QVERIFY(!tray.animation());
    QCOMPARE(window.geometry(), QRect(50, 60, 300, 200));
}

// Where the platform does not tell where the icon is: the bottom right corner
// of the work area, 150 by 30 pixels.
void SystemTrayTest::corner()
{
    CSystemTray tray(appIcon());
    QWidget window;
    const QRect work = window.screen()->availableGeometry();
    QCOMPARE(tray.trayRect(window),
             QRect(QPoint(work.x() + work.width() - 150, work.y() + work.height() - 30), QSize(150, 30)));
}

WIFITICKETER_TEST(SystemTrayTest)
#include "systemtraytest.moc"
