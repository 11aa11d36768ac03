#include "testmain.h"

#include "ui/framework/canimationwnd.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class AnimationWndTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frameRect_data();
    void frameRect();
    void shrinksAndGrows();
};

void AnimationWndTest::frameRect_data()
{
    QTest::addColumn<QRect>("from");
    QTest::addColumn<QRect>("to");
    QTest::addColumn<int>("frame");
    QTest::addColumn<QRect>("expected");

    // Edges 100, 100, 500, 400 towards 1770, 1050, 1920, 1080.
    const QRect window(100, 100, 400, 300), corner(1770, 1050, 150, 30);
    QTest::addRow("first step to the corner") << window << corner << 1 << QRect(434, 290, 350, 246);
    QTest::addRow("second step to the corner") << window << corner << 2 << QRect(768, 480, 300, 192);
    QTest::addRow("last step is the corner") << window << corner << 5 << corner;
    // Edges 500, 400, 800, 600 towards 13, 7, 113, 27: every share is cut
    // towards zero (-487 / 5 is -97, not -98).
    const QRect right(500, 400, 300, 200), topLeft(13, 7, 100, 20);
    QTest::addRow("first step up and left") << right << topLeft << 1 << QRect(403, 322, 260, 164);
    QTest::addRow("third step up and left") << right << topLeft << 3 << QRect(208, 165, 180, 92);
    QTest::addRow("back from the corner") << corner << window << 1 << QRect(1436, 860, 200, 84);
}

void AnimationWndTest::frameRect()
{
    QFETCH(QRect, from);
    QFETCH(QRect, to);
    QFETCH(int, frame);
    QFETCH(QRect, expected);
    QCOMPARE(CAnimationWnd::frameRect(from, to, frame), expected);
}

// The window's picture flies to the corner fading out and comes back fading in,
// five frames each way; the window itself is hidden meanwhile.
void AnimationWndTest::shrinksAndGrows()
{
    QWidget target;
    target.setAutoFillBackground(true);
    QPalette palette = target.palette();
    palette.setColor(QPalette::Window, QColor(200, 30, 40));
    target.setPalette(palette);
    const QRect from(100, 100, 400, 300), to(1770, 1050, 150, 30);
    target.setGeometry(from);
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));

    CAnimationWnd animation(target, from, to);
    QVERIFY(!target.isVisible());
    QVERIFY(animation.windowFlags().testFlag(Qt::Tool));
    QVERIFY(animation.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(animation.windowFlags().testFlag(Qt::FramelessWindowHint));
    QSignalSpy frames(&animation, &CAnimationWnd::frameShown);
    QList<qreal> opacities;
    connect(&animation, &CAnimationWnd::frameShown, this, [&] { opacities << animation.windowOpacity(); });

    animation.shrink();
    QCOMPARE(frames.size(), 5);
    const QList<int> shrinking{204, 153, 102, 51, 0};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(frames[i][1].toInt(), shrinking[i]);
        QVERIFY2(qAbs(opacities[i] * 255 - shrinking[i]) <= 1, qPrintable(QString::number(opacities[i])));
    }
    QCOMPARE(frames[0][0].toRect(), QRect(434, 290, 350, 246));
    QCOMPARE(frames[4][0].toRect(), to);
    QVERIFY(!animation.isVisible());
    QVERIFY(!target.isVisible());

    // It shows the window's picture, stretched.
    QCOMPARE(animation.grab().toImage().pixelColor(animation.width() / 2, animation.height() / 2),
             QColor(200, 30, 40));

    frames.clear();
    opacities.clear();
    animation.grow();
    QCOMPARE(frames.size(), 5);
    const QList<int> growing{51, 102, 153, 204, 255};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(frames[i][1].toInt(), growing[i]);
    QCOMPARE(frames[0][0].toRect(), QRect(1436, 860, 200, 84));
    QCOMPARE(frames[4][0].toRect(), from);
    QVERIFY(qAbs(opacities[4] - 1.0) < 0.01);
    QVERIFY(!animation.isVisible());
}

WIFITICKETER_TEST(AnimationWndTest)
#include "animationwndtest.moc"
