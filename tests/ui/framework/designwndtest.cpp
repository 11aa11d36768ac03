#include "accessiblesearch.h"
#include "testmain.h"

#include "ui/framework/cdesignwnd.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A bitmap of one colour, written where the cache can read it.
QString solidImage(const QTemporaryDir &dir, const QString &name, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

// A window of 300 x 200 with four 40 x 30 items in a row at y 100: A (id 1),
// B (id 2), C (id 3, not enabled) and D (id 4, hidden).
struct Fixture
{
    Fixture()
    {
        window.resize(300, 200);
        window.move(100, 100);
        const quint32 on = SkinItem::Enabled;
        int x = 10;
        for (quint32 flags : {on, on, 0u, on | SkinItem::Hidden}) {
            SkinItem &item = window.addItem(makeSkinItem(
                skins, x, 100, 40, 30, int(window.items().size()) + 1, {}, {}, {}, {}, flags, Qt::gray));
            item.texts[0].text = u"Item %1"_s.arg(item.id);
            x += 50;
        }
        window.show();
        window.activateWindow();
    }

    SkinItem &item(int id) const { return *window.item(id); }

    SkinCache skins;
    CDesignWnd window{skins};
};

} // namespace

class DesignWndTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clickRules_data();
    void clickRules();
    void dragBand_data();
    void dragBand();
    void itemsShareCachedImages();
    void menuReportsTheChosenCommand_data();
    void menuReportsTheChosenCommand();
    void hoverOnlyInTheActiveWindow();
    void touchLeavesNothingLit();
    void itemsReachScreenReaders();
    void drawing_data();
    void drawing();
    void anchoredItemsFollowTheSize();
    void insetsAcrossTheSkinLeaveNoGap();
    void shapeFollowsTheSkinsAlpha();
    void switchedOffItemShowsItsOffImage();
};

void DesignWndTest::clickRules_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("move"); // (-1, -1): no move
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QList<int>>("commands");

    const QPoint none(-1, -1);
    const QPoint onA(20, 110), onB(70, 110), onC(120, 110), onD(170, 110), outside(250, 150);
    QTest::addRow("press and release on one item") << onA << none << onA << QList<int>{1};
    QTest::addRow("press on one, release on another") << onA << none << onB << QList<int>{};
    QTest::addRow("press, move off, release outside") << onA << outside << outside << QList<int>{};
    // Leaving the item gives the press up.
    QTest::addRow("press, move off, release back on it") << onA << outside << onA << QList<int>{};
    QTest::addRow("press outside, release on an item") << outside << none << onA << QList<int>{};
    QTest::addRow("item not enabled") << onC << none << onC << QList<int>{};
    QTest::addRow("hidden item") << onD << none << onD << QList<int>{};
    // The right and bottom edges are outside.
    QTest::addRow("last pixel of the item") << QPoint(49, 129) << none << QPoint(49, 129) << QList<int>{1};
    QTest::addRow("right edge") << QPoint(50, 110) << none << QPoint(50, 110) << QList<int>{};
}

void DesignWndTest::clickRules()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, move);
    QFETCH(QPoint, release);
    QFETCH(QList<int>, commands);
    Fixture f;
    QSignalSpy spy(&f.window, &CDesignWnd::itemCommand);

    QTest::mousePress(&f.window, Qt::LeftButton, {}, press);
    if (move != QPoint(-1, -1))
        QTest::mouseMove(&f.window, move);
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, release);
    // The command is posted: it arrives after the mouse event.
    QCOMPARE(spy.size(), 0);
    QCoreApplication::processEvents();

    QList<int> reported;
    for (const QList<QVariant> &call : spy) {
        reported << call[0].toInt();
        QVERIFY(!call[1].isValid());
    }
    QCOMPARE(reported, commands);
    // Nothing stays pressed.
    for (const std::unique_ptr<SkinItem> &item : f.window.items())
        QVERIFY(item->state != SkinItem::Pressed);
    QCOMPARE(f.item(2).state, SkinItem::Normal);
}

void DesignWndTest::dragBand_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<bool>("drags");

    QTest::addRow("top band, outside the items") << QPoint(5, 30) << false << true;
    QTest::addRow("last line of the band") << QPoint(5, 60) << false << true;
    QTest::addRow("below the band") << QPoint(5, 61) << false << false;
    QTest::addRow("on an item") << QPoint(20, 110) << false << false;
    QTest::addRow("full screen") << QPoint(5, 30) << true << false;
}

void DesignWndTest::dragBand()
{
    QFETCH(QPoint, press);
    QFETCH(bool, fullScreen);
    QFETCH(bool, drags);
    Fixture f;
    if (fullScreen)
        f.window.setGeometry(f.window.screen()->availableGeometry());
    // An item in the band: pressing it never drags.
    if (press == QPoint(20, 110))
        f.item(1).top = 0;
    const QPoint start = f.window.pos();

    QTest::mousePress(&f.window, Qt::LeftButton, {}, press);
    QCOMPARE(f.window.isDragging(), drags);
    QTest::mouseMove(&f.window, press + QPoint(40, 20));
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, press + QPoint(40, 20));
    QCOMPARE(f.window.pos(), drags ? start + QPoint(40, 20) : start);
    QVERIFY(!f.window.isDragging());
}

void DesignWndTest::itemsShareCachedImages()
{
    QTemporaryDir dir;
    const QString red = solidImage(dir, u"red.png"_s, {20, 10}, Qt::red);
    const QString mask = solidImage(dir, u"mask.png"_s, {20, 10}, QColor(0, 0, 128));
    SkinCache skins;
    {
        CDesignWnd window(skins);
        window.setSkin(skins.load(red, {}, SkinCache::Retention::WhileUsed));
        SkinItem &a =
            window.addItem(makeSkinItem(skins, 0, 0, 0, 0, 1, red, mask, {}, {}, SkinItem::Enabled));
        SkinItem &b =
            window.addItem(makeSkinItem(skins, 30, 0, 0, 0, 2, red, mask, {}, {}, SkinItem::Enabled));
        QCOMPARE(a.normalImage.image, b.normalImage.image);
        QCOMPARE(a.right, 20); // the image's size
        // The skin is the same bitmap without a mask: an entry of its own.
        QCOMPARE(skins.entryCount(), 2);
        // The mask's first colour byte is the alpha, premultiplied.
        const QRgb pixel = a.normalImage.image->pixel(3, 3);
        QCOMPARE(qAlpha(pixel), 128);
        QCOMPARE(qRed(pixel), 128);
    }
    // The window's skin went with it; the items' images stay for later windows.
    QCOMPARE(skins.entryCount(), 1);
    CDesignWnd later(skins);
    const SkinItem &c =
        later.addItem(makeSkinItem(skins, 0, 0, 0, 0, 1, red, mask, {}, {}, SkinItem::Enabled));
    QCOMPARE(c.normalImage.image.use_count(), 2); // the cache's and this item's
    QCOMPARE(skins.entryCount(), 1);
}

void DesignWndTest::menuReportsTheChosenCommand_data()
{
    QTest::addColumn<int>("chosen"); // index of the action, -1: dismissed
    QTest::addColumn<QVariant>("choice");
    QTest::addRow("second command") << 1 << QVariant(32);
    QTest::addRow("dismissed") << -1 << QVariant();
}

void DesignWndTest::menuReportsTheChosenCommand()
{
    QFETCH(int, chosen);
    QFETCH(QVariant, choice);
    Fixture f;
    SkinItem &item = f.item(2);
    item.menu = std::make_unique<QMenu>();
    item.menu->addAction(u"&Sobre"_s)->setData(16);
    item.menu->addAction(u"&Redefinir"_s)->setData(32);
    QSignalSpy spy(&f.window, &CDesignWnd::itemCommand);

    QTest::mouseClick(&f.window, Qt::LeftButton, {}, QPoint(70, 110));
    QTRY_VERIFY(item.menu->isVisible());
    // It opens under the item's bottom-left corner.
    QCOMPARE(item.menu->pos(), f.window.mapToGlobal(QPoint(60, 130)));
    if (chosen >= 0)
        item.menu->actions()[chosen]->trigger();
    item.menu->close();
    QCoreApplication::processEvents();
    QCOMPARE(spy.size(), chosen >= 0 ? 1 : 0);
    if (chosen >= 0) {
        QCOMPARE(spy[0][0].toInt(), 2);
        QCOMPARE(spy[0][1], choice);
    }
    QCOMPARE(item.state, SkinItem::Normal);
}

void DesignWndTest::hoverOnlyInTheActiveWindow()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::mouseMove(&f.window, QPoint(20, 110));
    QCOMPARE(f.item(1).state, SkinItem::Hot);
    QTest::mouseMove(&f.window, QPoint(70, 110));
    QCOMPARE(f.item(1).state, SkinItem::Normal);
    QCOMPARE(f.item(2).state, SkinItem::Hot);

    // Another window comes to the front: nothing stays lit, nothing lights up.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(f.item(2).state, SkinItem::Normal);
    QTest::mouseMove(&f.window, QPoint(20, 110));
    QCOMPARE(f.item(1).state, SkinItem::Normal);
}

void DesignWndTest::touchLeavesNothingLit()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QSignalSpy spy(&f.window, &CDesignWnd::itemCommand);
    QPointingDevice *screen = QTest::createTouchDevice();
    QTest::touchEvent(&f.window, screen).press(0, QPoint(20, 110));
    QTest::touchEvent(&f.window, screen).release(0, QPoint(20, 110));
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].toInt(), 1);
    QCOMPARE(f.item(1).state, SkinItem::Normal);
}

void DesignWndTest::itemsReachScreenReaders()
{
    Fixture f;
    SkinItem &close = f.item(2);
    close.texts[0].text.clear();
    close.accessibleName = u"Fechar"_s;
    // A label: no command.
    SkinItem &label = f.window.addItem(makeSkinItem(f.skins, 10, 10, 100, 20, 0, {}, {}, {}, {}, 0));
    label.texts[1].text = u"wifiTicketer"_s;
    QSignalSpy spy(&f.window, &CDesignWnd::itemCommand);

    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&f.window);
    QVERIFY(window);
    QAccessibleInterface *button = findAccessible(&f.window, QAccessible::Button, u"Item 1"_s);
    QVERIFY(button);
    QCOMPARE(button->rect(), QRect(f.window.mapToGlobal(QPoint(10, 100)), QSize(40, 30)));
    QCOMPARE(button->parent(), window);
    QCOMPARE(window->indexOfChild(button), 0);
    QCOMPARE(
        window->childAt(f.window.mapToGlobal(QPoint(20, 110)).x(), f.window.mapToGlobal(QPoint(20, 110)).y()),
        button);

    QVERIFY(findAccessible(&f.window, QAccessible::Button, u"Fechar"_s));
    QAccessibleInterface *text = findAccessible(&f.window, QAccessible::StaticText, u"wifiTicketer"_s);
    QVERIFY(text);
    QVERIFY(!text->actionInterface());
    // An item that takes no click reads as text, unless it looks like a
    // button: then it is a button switched off. A hidden one is not there.
    QVERIFY(findAccessible(&f.window, QAccessible::StaticText, u"Item 3"_s));
    QTemporaryDir dir;
    f.item(3).hotImage = f.skins.load(solidImage(dir, u"hot.png"_s, {4, 4}, Qt::yellow));
    QAccessibleInterface *off = findAccessible(&f.window, QAccessible::Button, u"Item 3"_s);
    QVERIFY(off);
    QVERIFY(off->state().disabled);
    QVERIFY(off->actionInterface()->actionNames().isEmpty());
    QVERIFY(!findAccessible(&f.window, QAccessible::Button, u"Item 4"_s));
    QCOMPARE(window->childCount(), 4);

    // The press action queues the command and returns at once.
    QVERIFY(pressAccessible(button));
    QCOMPARE(spy.size(), 0);
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].toInt(), 1);
}

void DesignWndTest::drawing_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("colour");

    // The skin: 30 x 30, green with a 10-px blue border; at 300 x 200 the
    // corners stay 10 px, the edges and the centre stretch.
    QTest::addRow("skin corner") << 0 << QPoint(295, 195) << QColor(Qt::blue);
    QTest::addRow("skin edge") << 0 << QPoint(150, 5) << QColor(Qt::blue);
    QTest::addRow("skin centre") << 0 << QPoint(150, 60) << QColor(Qt::green);
    // The item: 40 x 30 at (10, 100) filled grey, a 20 x 10 image centred:
    // red normally, yellow when hot or pressed, pressed one pixel lower right.
    QTest::addRow("fill") << 0 << QPoint(12, 102) << QColor(Qt::gray);
    QTest::addRow("fill includes the right edge") << 0 << QPoint(50, 115) << QColor(Qt::gray);
    QTest::addRow("normal image") << 0 << QPoint(20, 110) << QColor(Qt::red);
    QTest::addRow("hot image") << 1 << QPoint(20, 110) << QColor(Qt::yellow);
    QTest::addRow("pressed image's first column") << 2 << QPoint(21, 111) << QColor(Qt::yellow);
    QTest::addRow("pressed image leaves its old corner") << 2 << QPoint(20, 110) << QColor(Qt::gray);
}

void DesignWndTest::drawing()
{
    QFETCH(int, state);
    QFETCH(QPoint, point);
    QFETCH(QColor, colour);
    QTemporaryDir dir;
    QImage skin(30, 30, QImage::Format_ARGB32);
    skin.fill(Qt::blue);
    QPainter(&skin).fillRect(10, 10, 10, 10, Qt::green);
    const QString skinPath = dir.filePath(u"skin.png"_s);
    skin.save(skinPath);

    SkinCache skins;
    CDesignWnd window(skins);
    window.resize(300, 200);
    SkinImage background = skins.load(skinPath);
    background.leftInset = background.topInset = background.rightInset = background.bottomInset = 10;
    window.setSkin(background);
    SkinItem &item = window.addItem(
        makeSkinItem(skins, 10, 100, 40, 30, 1, solidImage(dir, u"n.png"_s, {20, 10}, Qt::red), {},
                     solidImage(dir, u"h.png"_s, {20, 10}, Qt::yellow), {}, SkinItem::Enabled, Qt::gray));
    item.state = SkinItem::State(state);

    const QImage shown = window.grab().toImage();
    QCOMPARE(shown.pixelColor(point), colour);
}

void DesignWndTest::anchoredItemsFollowTheSize()
{
    SkinCache skins;
    CDesignWnd window(skins);
    window.resize(433, 380);
    auto close = makeSkinItem(skins, 433 - 87, 0, 64, 30, 166, {}, {}, {}, {}, SkinItem::Enabled);
    close->anchoring = SkinItem::AnchorRight;
    auto status = makeSkinItem(skins, 10, 340, 100, 30, 5, {}, {}, {}, {}, SkinItem::Enabled);
    status->anchoring = SkinItem::AnchorBottom;
    SkinItem &c = window.addItem(std::move(close));
    SkinItem &s = window.addItem(std::move(status));
    window.resize(533, 480);
    window.reanchor();
    QCOMPARE(QRect(QPoint(c.left, c.top), QPoint(c.right, c.bottom)), QRect(QPoint(446, 0), QPoint(510, 30)));
    QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)),
             QRect(QPoint(10, 440), QPoint(110, 470)));
}

// A skin whose left and right insets together are wider than the skin (its
// edges meet in a plain middle) still covers the whole window.
void DesignWndTest::insetsAcrossTheSkinLeaveNoGap()
{
    QTemporaryDir dir;
    SkinCache skins;
    SkinImage skin = skins.load(solidImage(dir, u"skin.png"_s, {30, 20}, Qt::green));
    skin.leftInset = skin.rightInset = 20;
    skin.topInset = skin.bottomInset = 15;
    CDesignWnd window(skins);
    window.resize(120, 80);
    window.setSkin(skin);
    const QImage shown = window.grab().toImage();
    for (const QPoint at : {QPoint(60, 40), QPoint(25, 40), QPoint(95, 10), QPoint(60, 70)})
        QCOMPARE(shown.pixelColor(at), QColor(Qt::green));
}

// Without a compositor the window is cut to its skin's opaque pixels, at
// every size.
void DesignWndTest::shapeFollowsTheSkinsAlpha()
{
    QTemporaryDir dir;
    QImage art(40, 40, QImage::Format_ARGB32);
    art.fill(Qt::green);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x)
            art.setPixelColor(x, y, Qt::transparent);
    }
    QVERIFY(art.save(dir.filePath(u"skin.png"_s)));
    SkinCache skins;
    SkinImage skin = skins.load(dir.filePath(u"skin.png"_s));
    skin.leftInset = skin.rightInset = skin.topInset = skin.bottomInset = 10;
    CDesignWnd window(skins);
    window.resize(120, 80);
    window.setSkin(skin);
    window.setShapedByAlpha(true);
    window.show();
    QVERIFY(!window.mask().contains(QPoint(2, 2)));
    QVERIFY(window.mask().contains(QPoint(12, 2)));
    QVERIFY(window.mask().contains(QPoint(60, 40)));
    QVERIFY(window.mask().contains(QPoint(118, 78)));
    window.resize(200, 100);
    QVERIFY(window.mask().contains(QPoint(198, 98)));
    QVERIFY(!window.mask().contains(QPoint(9, 9)));
    window.setShapedByAlpha(false);
    QVERIFY(window.mask().isEmpty());
}

// A switched-off item with an image of its own for that shows it as it is;
// one without is drawn faded.
void DesignWndTest::switchedOffItemShowsItsOffImage()
{
    QTemporaryDir dir;
    SkinCache skins;
    CDesignWnd window(skins);
    window.resize(100, 50);
    auto made = makeSkinItem(skins, 10, 10, 0, 0, 1, solidImage(dir, u"on.png"_s, {20, 20}, Qt::red), {},
                             solidImage(dir, u"hot.png"_s, {20, 20}, Qt::blue), {}, SkinItem::Transparent);
    made->offImage = skins.load(solidImage(dir, u"off.png"_s, {20, 20}, Qt::green));
    SkinItem &item = window.addItem(std::move(made));
    QCOMPARE(window.grab().toImage().pixelColor(20, 20), QColor(Qt::green));
    item.flags |= SkinItem::Enabled;
    QCOMPARE(window.grab().toImage().pixelColor(20, 20), QColor(Qt::red));
    item.flags &= ~SkinItem::Enabled;
    item.offImage = {};
    const QColor faded = window.grab().toImage().pixelColor(20, 20);
    QVERIFY(faded.alpha() < 200);
    QCOMPARE(faded.red(), 255);
}

WIFITICKETER_TEST(DesignWndTest)
#include "designwndtest.moc"
