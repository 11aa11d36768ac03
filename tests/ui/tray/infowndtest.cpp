#include "testmain.h"

#include "ui/framework/cinfownd.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Pixels darker than mid grey in the columns from `left` to `right`.
int darkPixels(const QImage &image, int left, int right)
{
    int dark = 0;
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = left; x <= right; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 128 && c.green() < 128 && c.blue() < 128)
                ++dark;
        }
    }
    return dark;
}

} // namespace

class InfoWndTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawing_data();
    void drawing();
};

void InfoWndTest::drawing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addRow("with a text") << u"Nenhum voucher encontrado"_s;
    QTest::addRow("without") << QString();
}

// A grey frame, the information icon in its area at the left, the text in
// black on light yellow.
void InfoWndTest::drawing()
{
    QFETCH(QString, text);
    QWidget parent;
    CInfoWnd info(&parent);
    info.setText(text);
    QCOMPARE(info.text(), text);
    info.setGeometry(0, 0, 320, 32);
    QVERIFY(info.sizeHint().height() >= 30);
    const QImage image = info.grab().toImage();

    const QColor frame(200, 200, 200), background(255, 253, 232);
    for (const QPoint corner : {QPoint(0, 0), QPoint(319, 0), QPoint(0, 31), QPoint(319, 31), QPoint(160, 0)})
        QCOMPARE(image.pixelColor(corner), frame);
    QCOMPARE(image.pixelColor(318, 2), background);
    QCOMPARE(image.pixelColor(2, 2), background);
    // The icon is drawn in the middle of its 35 pixels.
    QVERIFY(image.pixelColor(18, 16) != background);
    QCOMPARE(darkPixels(image, 37, 317) > 0, !text.isEmpty());
}

WIFITICKETER_TEST(InfoWndTest)
#include "infowndtest.moc"
