#include "designlists.h"
#include "designtestdata.h"
#include "testmain.h"

#include "design/builtincard.h"
#include "design/voucherdesign.h"

#include <QTest>

using namespace Qt::StringLiterals;

class DesignModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultDesign();
    void defaultDesignTexts_data();
    void defaultDesignTexts();
    void newDesignDefaults();
    void kindWord_data();
    void kindWord();
    void findDesignIgnoresCase();
    void copiesAreDeep();
    void builtInCard();
};

void DesignModelTest::defaultDesign()
{
    const VoucherDesign d = makeDefaultDesign();
    QCOMPARE(d.Name, u"Padrão"_s);
    QCOMPARE(d.Width, 840);
    QCOMPARE(d.Height, 540);
    QCOMPARE(d.Margin, 100);
    QCOMPARE(d.Copies, 1);
    QVERIFY(d.Printer.isEmpty());
    QVERIFY(d.FillPage);
    const QList<DesignGraphic> card = {{u"<Padrão>"_s, DesignGraphic::Image, 0, 0, 0, 0, 840, 540, 1, 0}};
    QCOMPARE(d.Graphics, card);
    QCOMPARE(d.Texts.size(), 8);
}

void DesignModelTest::defaultDesignTexts_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("align");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<int>("size");
    const uint blue = 0x800000;
    QTest::addRow("user caption") << 0 << u"Nome do Usuário"_s << 270 << 184 << 0 << blue << 14;
    QTest::addRow("user") << 1 << u"${user}"_s << 270 << 229 << 0 << 0u << 18;
    QTest::addRow("password caption") << 2 << u"Senha"_s << 750 << 184 << 1 << blue << 14;
    QTest::addRow("password") << 3 << u"${password}"_s << 750 << 229 << 1 << 0u << 18;
    QTest::addRow("profile caption") << 4 << u"Perfil"_s << 270 << 300 << 0 << blue << 14;
    QTest::addRow("profile") << 5 << u"${profile}"_s << 270 << 345 << 0 << 0u << 18;
    QTest::addRow("price caption") << 6 << u"Preço"_s << 750 << 300 << 1 << blue << 14;
    QTest::addRow("price") << 7 << u"${price}"_s << 750 << 345 << 1 << 0u << 18;
}

void DesignModelTest::defaultDesignTexts()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, align);
    QFETCH(uint, colour);
    QFETCH(int, size);
    const DesignText expected{text, u"Arial"_s, size, false, false, colour, quint8(align), 0, x, y};
    QCOMPARE(makeDefaultDesign().Texts.value(index), expected);
}

void DesignModelTest::newDesignDefaults()
{
    const VoucherDesign d;
    QVERIFY(d.Name.isEmpty());
    QCOMPARE(d.Width, 0);
    QCOMPARE(d.Copies, 1);
    QVERIFY(d.FillPage);
    QVERIFY(d.Graphics.isEmpty() && d.Texts.isEmpty());
}

void DesignModelTest::kindWord_data()
{
    QTest::addColumn<quint32>("word");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("symbology");
    QTest::addColumn<int>("border");
    QTest::addRow("image") << 0u << 0 << 0 << 0;
    QTest::addRow("box") << 2u << 2 << 0 << 0;
    QTest::addRow("QR code with border 4") << 0x043A00FFu << 255 << 58 << 4;
    QTest::addRow("kind 0 with a symbology is no image") << 0x00140000u << 0 << 20 << 0;
}

void DesignModelTest::kindWord()
{
    QFETCH(quint32, word);
    QFETCH(int, kind);
    QFETCH(int, symbology);
    QFETCH(int, border);
    DesignGraphic g;
    setKindWord(g, word);
    QCOMPARE(int(g.Kind), kind);
    QCOMPARE(int(g.Symbology), symbology);
    QCOMPARE(int(g.BorderWidth), border);
    QCOMPARE(::kindWord(g), word);
}

void DesignModelTest::findDesignIgnoresCase()
{
    DesignList designs = listOf({cafeDesign(), emptyDesign(), makeDefaultDesign()});
    designs.append(std::make_shared<VoucherDesign>(emptyDesign())); // a second "Vazio"
    QCOMPARE(findDesign(designs, u"CAFÉ"_s), designs[0].get());
    QCOMPARE(findDesign(designs, u"padrão"_s), designs[2].get());
    // The first of equal names.
    QCOMPARE(findDesign(designs, u"vazio"_s), designs[1].get());
    QCOMPARE(findDesign(designs, u"Caf"_s), nullptr);
    QCOMPARE(findDesign({}, u"Padrão"_s), nullptr);
}

void DesignModelTest::copiesAreDeep()
{
    const DesignList designs = listOf({cafeDesign(), makeDefaultDesign()});
    const VoucherDesign *first = designs[0].get();
    DesignList copies = copyDesigns(designs);
    QCOMPARE(valuesOf(copies), valuesOf(designs));
    QVERIFY(copies[0].get() != first);
    copies[0]->Texts[0].Text = u"changed"_s;
    copies[0]->Graphics.clear();
    QCOMPARE(*designs[0], cafeDesign());
    // The originals keep their addresses, which profiles point at.
    QCOMPARE(designs[0].get(), first);
}

void DesignModelTest::builtInCard()
{
    const QImage card = builtInCardImage();
    QCOMPARE(card.size(), QSize(800, 547));
    QCOMPARE(card.depth(), 24);
    // Not one flat colour: a picture was drawn.
    QVERIFY(card.pixel(400, 40) != card.pixel(400, 300));

    QVERIFY(selectsBuiltInCard(u"<Padrão>"_s));
    QVERIFY(selectsBuiltInCard(u"<anything"_s));
    QVERIFY(!selectsBuiltInCard(u"C:\\<Padrão>.bmp"_s));
    QVERIFY(!selectsBuiltInCard(QString()));
}

WIFITICKETER_TEST(DesignModelTest)
#include "designmodeltest.moc"
