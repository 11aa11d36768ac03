#include "clirun.h"
#include "clisimulator.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "design/designfile.h"
#include "design/voucherdesign.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

int pageCount(const QString &pdf)
{
    const CliRun info = runTool(u"pdfinfo"_s, {pdf});
    const QRegularExpressionMatch pages =
        QRegularExpression(u"^Pages:\\s+(\\d+)$"_s, QRegularExpression::MultilineOption).match(info.out);
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// The code zbarimg reads in a square of the page (tenths of a millimetre from
// the sheet's top-left corner), rendered at 300 dpi. One code at a time: on a
// whole sheet the scanner misses some of many codes.
QString codeAt(const QString &pdf, int page, int left, int top, int size, const QString &folder)
{
    const auto pixels = [](int tenths) { return QString::number(tenths * 300 / 254); };
    const QString prefix = folder + u"/code"_s;
    const CliRun raster = runTool(u"pdftoppm"_s, {u"-r"_s, u"300"_s, u"-f"_s, QString::number(page), u"-l"_s,
                                                  QString::number(page), u"-x"_s, pixels(left), u"-y"_s,
                                                  pixels(top), u"-W"_s, pixels(size), u"-H"_s, pixels(size),
                                                  u"-png"_s, u"-singlefile"_s, pdf, prefix});
    if (raster.exitCode != 0)
        return u"<pdftoppm failed>"_s;
    return runTool(u"zbarimg"_s, {u"--raw"_s, u"-q"_s, prefix + u".png"_s}).out.trimmed();
}

// A card of the built-in design's size without its picture: the user name and
// the password, and a QR code of the user name on white paper (the library
// draws codes without a quiet zone, so the design leaves room around them).
VoucherDesign designWithQrCode()
{
    VoucherDesign design;
    design.Name = u"Com QR"_s;
    design.Width = 840;
    design.Height = 540;
    design.Margin = 100;
    for (const auto &[text, y] : {std::pair{u"${user}"_s, 60}, std::pair{u"${password}"_s, 200}}) {
        DesignText line;
        line.Text = text;
        line.FontFace = u"DejaVu Sans"_s;
        line.FontSize = 24;
        line.X = 60;
        line.Y = y;
        design.Texts.append(line);
    }
    DesignGraphic qr;
    qr.Kind = DesignGraphic::Barcode;
    qr.Symbology = 58;
    qr.Source = u"${user}"_s;
    qr.X = 520;
    qr.Y = 180;
    qr.Width = 250;
    qr.Height = 250;
    qr.Attributes = 0xFFFFFF;
    design.Graphics.append(qr);
    return design;
}

} // namespace

class VoucherPdfTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generateToPdf();
    void paperMadeToMeasure();
    void testPrintToPdf();
    void unknownDesign();
};

void VoucherPdfTest::generateToPdf()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    ScriptedInteraction interaction;
    VoucherDesign padrao = makeDefaultDesign();
    QVERIFY(saveDesigns(
        folder.dataFolder(),
        {std::make_shared<VoucherDesign>(padrao), std::make_shared<VoucherDesign>(designWithQrCode())},
        interaction));

    const QString pdf = folder.path() + u"/vouchers.pdf"_s;
    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 horas"_s, u"--count"_s, u"10"_s,
                                                             u"--design"_s, u"com qr"_s, u"--pdf"_s, pdf});
    QCOMPARE(run.exitCode, 0);
    QStringList users;
    QStringList passwords;
    for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
        users << line.section(u'\t', 0, 0);
        passwords << line.section(u'\t', 1, 1);
    }
    QCOMPARE(users.size(), 10);

    // 84 × 54 mm cards with a 10 mm margin: 2 × 4 on the 200 × 287 mm printable
    // area of an A4 sheet, so ten vouchers take two sheets.
    QCOMPARE(pageCount(pdf), 2);
    const CliRun text = runTool(u"pdftotext"_s, {pdf, u"-"_s});
    QCOMPARE(text.exitCode, 0);
    // The font sets "ff" as a ligature, which the text comes back as (U+FB00);
    // compatibility decomposition gives the letters again.
    const QString printed = text.out.normalized(QString::NormalizationForm_KC);
    for (int i = 0; i < 10; ++i) {
        QVERIFY2(printed.contains(users[i]), qPrintable(users[i]));
        QVERIFY2(printed.contains(passwords[i]), qPrintable(passwords[i]));
    }
    // Each voucher's code where the grid puts it: cells of 100 × 71.7 mm
    // inside the 5 mm border, the card centred in its cell, the code's box at
    // 52 × 18 mm on the card, looked at with 3 mm to spare.
    for (int i = 0; i < 10; ++i) {
        const int cell = i % 8;
        const int left = 50 + (cell % 2) * 1000 + 80 + 520 - 30;
        const int top = 50 + (cell / 2) * 717 + 88 + 180 - 30;
        QCOMPARE(codeAt(pdf, 1 + i / 8, left, top, 310, folder.path()), users[i]);
    }
}

// A design that does not fill pages: a page of the voucher's size plus its
// margin for every voucher and every copy.
void VoucherPdfTest::paperMadeToMeasure()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    VoucherDesign single = designWithQrCode();
    single.Name = u"Avulso"_s;
    single.FillPage = false;
    single.Copies = 2;
    ScriptedInteraction interaction;
    QVERIFY(saveDesigns(folder.dataFolder(), {std::make_shared<VoucherDesign>(single)}, interaction));

    const QString pdf = folder.path() + u"/single.pdf"_s;
    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 horas"_s, u"--count"_s, u"2"_s,
                                                             u"--design"_s, u"Avulso"_s, u"--pdf"_s, pdf});
    QCOMPARE(run.exitCode, 0);
    const QStringList users = {run.out.section(u'\t', 0, 0),
                               run.out.section(u'\n', 1, 1).section(u'\t', 0, 0)};
    QCOMPARE(pageCount(pdf), 4);
    // 94 × 64 mm is 266.5 × 181.4 points; PDF pages come in whole points.
    const CliRun info = runTool(u"pdfinfo"_s, {u"-f"_s, u"1"_s, u"-l"_s, u"4"_s, pdf});
    QCOMPARE(info.out.count(QRegularExpression(u"Page +\\d+ size: +26[67] x 18[12] pts"_s)), 4);
    // Copies one after another; the card centred, so its code starts 5 mm in.
    for (int page = 1; page <= 4; ++page)
        QCOMPARE(codeAt(pdf, page, 50 + 520 - 30, 50 + 180 - 30, 310, folder.path()), users[(page - 1) / 2]);
}

void VoucherPdfTest::testPrintToPdf()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const QString pdf = folder.path() + u"/test.pdf"_s;
    const CliRun run =
        runCli(folder, Operator + QStringList{u"print-test"_s, u"--design"_s, u"Padrão"_s, u"--pdf"_s, pdf});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(pageCount(pdf), 1);
    // Samples show the tags' own names: eight cards, each with "user".
    const CliRun text = runTool(u"pdftotext"_s, {pdf, u"-"_s});
    QCOMPARE(text.out.count(u"user"_s), 8);
    QVERIFY(sim.commands().isEmpty()); // no router is involved
}

void VoucherPdfTest::unknownDesign()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const CliRun run =
        runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"3 horas"_s,
                                              u"--count"_s, u"2"_s, u"--design"_s, u"Nenhum"_s, u"--pdf"_s,
                                              folder.path() + u"/x.pdf"_s});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.endsWith(u"wifiticketer-cli: no design is named 'Nenhum'; designs: 'Padrão'\n"_s),
             qPrintable(run.err));
    // Nothing was made on the router.
    for (const QStringList &command : sim.commands())
        QVERIFY(command.value(0) != u"/ip/hotspot/user/add"_s);
}

WIFITICKETER_TEST(VoucherPdfTest)
#include "voucherpdftest.moc"
