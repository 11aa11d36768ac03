#include "testmain.h"

#include "base/formatprice.h"
#include "pos/poshistory.h"
#include "pos/poshistorypanel.h"
#include "pos/pospagelayout.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Button = PosPageLayout::Button;

// Buttons as (index, left, top, width) lists, for readable tables.
QList<QList<int>> placed(const PosPageLayout &page)
{
    QList<QList<int>> out;
    for (const Button &b : page.buttons)
        out.append({b.index, b.left, b.top, b.width});
    return out;
}

// A history in memory of `count` sales of 1 to `count` vouchers at R$ 5,00.
PosHistory salesOf(int count)
{
    PosHistory history;
    for (int i = 1; i <= count; ++i)
        history.append({i, u"1 Hora"_s, 500});
    return history;
}

} // namespace

class PosLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void page_data();
    void page();
    void anySizeGivesAPage_data();
    void anySizeGivesAPage();
    void paging();
    void history_data();
    void history();
    void historyRows();
    void routerLine();
};

// Worked out by hand from the layout rules (integer divisions).
void PosLayoutTest::page_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("profiles");
    QTest::addColumn<int>("first");
    QTest::addColumn<QList<int>>("figures"); // rows, columns, rowsUsed, buttonWidth, step, rowHeight, x0, y0
    QTest::addColumn<QList<QList<int>>>("buttons");
    QTest::addColumn<bool>("previous");
    QTest::addColumn<bool>("next");

    // 1200 x 700: rows 7, avail 775, columns 2, column 387, button 355, step
    // 385, x0 ((1155 - 770 - 380) / 2) + 395 = 397.
    QTest::addRow("1200 x 700, 5 profiles")
        << QSize(1200, 700) << 5 << 0 << QList<int>{7, 2, 3, 355, 385, 90, 397, 197}
        << QList<QList<int>>{{0, 397, 197, 355},
                             {1, 782, 197, 355},
                             {2, 397, 287, 355},
                             {3, 782, 287, 355},
                             {4, 397, 377, 355}}
        << false << false;
    // 14 fill the page: 7 rows of 525 / 7 = 75 px, starting at
    // (595 - 525 - 70) / 2 + 70 = 70.
    QList<QList<int>> fourteen;
    for (int i = 0; i < 14; ++i)
        fourteen.append({i, i % 2 == 0 ? 397 : 782, 70 + 75 * (i / 2), 355});
    QTest::addRow("1200 x 700, 14 profiles")
        << QSize(1200, 700) << 14 << 0 << QList<int>{7, 2, 7, 355, 385, 75, 397, 70} << fourteen << false
        << false;
    QTest::addRow("1200 x 700, 15 profiles, first page")
        << QSize(1200, 700) << 15 << 0 << QList<int>{7, 2, 7, 355, 385, 75, 397, 70} << fourteen << false
        << true;
    // The 15th alone: one row of 90 px at (595 - 90 - 70) / 2 + 70 = 287.
    QTest::addRow("1200 x 700, 15 profiles, second page")
        << QSize(1200, 700) << 15 << 14 << QList<int>{7, 2, 1, 355, 385, 90, 397, 287}
        << QList<QList<int>>{{14, 397, 287, 355}} << true << false;
    // Full HD: rows 905 / 72 = 12, avail 1495, columns 3, column 498; x0
    // (1875 - 1155 - 380) / 2 + 395 = 565; y0 (975 - 180 - 70) / 2 + 70 = 432.
    QTest::addRow("1920 x 1080, 5 profiles")
        << QSize(1920, 1080) << 5 << 0 << QList<int>{12, 3, 2, 355, 385, 90, 565, 432}
        << QList<QList<int>>{{0, 565, 432, 355},
                             {1, 950, 432, 355},
                             {2, 1335, 432, 355},
                             {3, 565, 522, 355},
                             {4, 950, 522, 355}}
        << false << false;
    // 40 profiles do not fit 12 x 3 (385-px columns), nor 12 x 4 of 320 px:
    // 1495 / 320 = 4 columns of 373, buttons 343, step 373; x0
    // (1875 - 1492 - 380) / 2 + 395 = 396; 10 rows of 90 from
    // (975 - 900 - 70) / 2 + 70 = 72.
    QTest::addRow("1920 x 1080, 40 profiles: narrower columns")
        << QSize(1920, 1080) << 40 << 0 << QList<int>{12, 4, 10, 343, 373, 90, 396, 72} << QList<QList<int>>()
        << false << false;
}

void PosLayoutTest::page()
{
    QFETCH(QSize, client);
    QFETCH(int, profiles);
    QFETCH(int, first);
    QFETCH(QList<int>, figures);
    QFETCH(QList<QList<int>>, buttons);
    QFETCH(bool, previous);
    QFETCH(bool, next);
    const PosPageLayout page = layOutPosPage(client, profiles, first);
    QCOMPARE((QList<int>{page.rows, page.columns, page.rowsUsed, page.buttonWidth, page.step, page.rowHeight,
                         page.x0, page.y0}),
             figures);
    if (!buttons.isEmpty())
        QCOMPARE(placed(page), buttons);
    QCOMPARE(page.previousEnabled, previous);
    QCOMPARE(page.nextEnabled, next);
}

// Sizes where the plain rules divide by zero or give negative sizes.
void PosLayoutTest::anySizeGivesAPage_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("profiles");
    QTest::addRow("800 x 600 screen, no profile") << QSize(800, 600) << 0;
    QTest::addRow("narrower than one column") << QSize(744, 600) << 3;
    QTest::addRow("the skin's size") << QSize(733, 391) << 6;
    QTest::addRow("lower than the frame") << QSize(733, 200) << 4;
    QTest::addRow("tiny") << QSize(10, 10) << 2;
}

void PosLayoutTest::anySizeGivesAPage()
{
    QFETCH(QSize, client);
    QFETCH(int, profiles);
    const PosPageLayout page = layOutPosPage(client, profiles, 0);
    QVERIFY(page.rows >= 1);
    QVERIFY(page.columns >= 1);
    QVERIFY(page.buttonWidth >= 0);
    QVERIFY(page.rowHeight >= 0);
    // Something is shown when there is something to show, and every profile
    // can be reached by paging.
    QCOMPARE(page.buttons.isEmpty(), profiles == 0);
    int first = 0;
    int seen = 0;
    for (PosPageLayout p = page; seen < profiles; p = layOutPosPage(client, profiles, first)) {
        QVERIFY(!p.buttons.isEmpty());
        seen += int(p.buttons.size());
        first = nextPosPage(p, first);
    }
    QCOMPARE(seen, profiles);
}

void PosLayoutTest::paging()
{
    const QSize client(1200, 700);
    const PosPageLayout first = layOutPosPage(client, 15, 0);
    QCOMPARE(nextPosPage(first, 0), 14);
    const PosPageLayout second = layOutPosPage(client, 15, 14);
    QCOMPARE(nextPosPage(second, 14), 14); // no further page
    QCOMPARE(previousPosPage(second, 14), 0);
    QCOMPARE(previousPosPage(first, 0), 0);
}

void PosLayoutTest::history_data()
{
    QTest::addColumn<int>("sales");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("top");
    QTest::addColumn<bool>("scrollToEnd");
    QTest::addColumn<int>("expectedTop");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");

    // 700 px high: a panel of 463 px holds 12 rows of 38.
    QTest::addRow("20 sales after a sale") << 20 << 700 << 0 << true << 8 << true << false;
    QTest::addRow("20 sales from the top") << 20 << 700 << 0 << false << 0 << false << true;
    QTest::addRow("12 sales fit") << 12 << 700 << 0 << true << 0 << false << false;
    QTest::addRow("13 sales after a sale") << 13 << 700 << 0 << true << 1 << true << false;
    QTest::addRow("top beyond the list") << 5 << 700 << 9 << false << 0 << false << false;
    QTest::addRow("scrolled down one") << 20 << 700 << 1 << false << 1 << true << true;
    QTest::addRow("no sales") << 0 << 700 << 0 << true << 0 << false << false;
    // No room at all: the list starts at the oldest sale, which goes past
    // the panel's (empty) bottom.
    QTest::addRow("lower than the frame") << 3 << 200 << 0 << true << 0 << false << true;
}

void PosLayoutTest::history()
{
    QFETCH(int, sales);
    QFETCH(int, height);
    QFETCH(int, top);
    QFETCH(bool, scrollToEnd);
    QFETCH(int, expectedTop);
    QFETCH(bool, up);
    QFETCH(bool, down);
    const PosHistory history = salesOf(sales);
    const PosHistoryPanel panel =
        layOutPosHistory(history, height, top, scrollToEnd, u"R$ %c"_s, NumberSeparators{});
    QCOMPARE(panel.historyTop, expectedTop);
    QCOMPARE(panel.upArrow, up);
    QCOMPARE(panel.downArrow, down);
    QCOMPARE(panel.rows.size(), qsizetype(sales - expectedTop));
    QVERIFY(panel.listHeight >= 0);
}

void PosLayoutTest::historyRows()
{
    const PosHistory history = salesOf(20);
    const PosHistoryPanel panel = layOutPosHistory(history, 700, 0, true, u"R$ %c"_s, NumberSeparators{});
    QCOMPARE(panel.listHeight, 463);
    // Row 8 (9 vouchers) first, at the top; the 20th sale last, at 11 x 38.
    const PosHistoryPanel::Row &first = panel.rows.first();
    QCOMPARE(first.index, 8);
    QCOMPARE(first.top, 0);
    QVERIFY(!first.odd);
    QCOMPARE(first.count, u"9x"_s);
    QCOMPARE(first.title, u"1 Hora"_s);
    QCOMPARE(first.amount, u"R$ 45,00"_s);
    const PosHistoryPanel::Row &last = panel.rows.last();
    QCOMPARE(last.index, 19);
    QCOMPARE(last.top, 418);
    QVERIFY(last.odd);
    QCOMPARE(last.amount, u"R$ 100,00"_s);
}

void PosLayoutTest::routerLine()
{
    // (1200 - 300 - 418) / 2 + 365 = 606.
    QCOMPARE(posRouterLineX(1200, 300), 606);
    QCOMPARE(posRouterLineX(733, 0), 522);
}

WIFITICKETER_TEST(PosLayoutTest)
#include "poslayouttest.moc"
