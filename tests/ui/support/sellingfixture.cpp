#include "sellingfixture.h"

#include "recordbuilders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<VoucherDesign> design(const QString &name, const QString &marker)
{
    auto design = std::make_shared<VoucherDesign>(makeDefaultDesign());
    design->Name = name;
    if (!marker.isEmpty()) {
        // One line that tells the design apart on paper.
        DesignText text;
        text.Text = marker + u"${user}"_s;
        text.FontFace = u"Arial"_s;
        text.FontSize = 20;
        text.X = 100;
        text.Y = 100;
        design->Graphics.clear();
        design->Texts = {text};
    }
    return design;
}

QString pdfText(const QString &pdf)
{
    QProcess tool;
    tool.start(u"pdftotext"_s, {pdf, u"-"_s});
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

PrintQueue testPrintQueue()
{
    return {qEnvironmentVariable("WIFITICKETER_TEST_PRINT_QUEUE"),
            qEnvironmentVariable("WIFITICKETER_TEST_PRINT_OUTPUT")};
}

QStringList printedFiles(const PrintQueue &queue)
{
    return QDir(queue.output).entryList({u"*.pdf"_s}, QDir::Files);
}

QString waitForPrintedText(const PrintQueue &queue, const QStringList &before, const QString &marker)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        for (const QString &name : printedFiles(queue)) {
            if (before.contains(name))
                continue;
            const QString found = pdfText(queue.output + u'/' + name);
            if (found.contains(marker))
                return found;
        }
        QTest::qWait(200);
    }
    return {};
}

std::optional<QString> ScriptedPrinterChooser::choosePrinter(QPrinter &)
{
    ++asked;
    if (whileAsked)
        whileAsked();
    return answer;
}

SellingFixture::SellingFixture()
{
    h.state.designs = {design(u"Padrão"_s, {}), design(u"Cartão B"_s, u"B:"_s),
                       design(u"Cartão C"_s, u"C:"_s)};
    standard = h.state.designs[0].get();
    cardB = h.state.designs[1].get();
    cardC = h.state.designs[2].get();

    hourProfile = std::make_shared<VoucherProfile>();
    hourProfile->Name = u"1 Hora"_s;
    hourProfile->Title = u"1 Hora"_s;
    hourProfile->Validity = u"1h"_s;
    hourProfile->ValidityDisplay = u"1 Hora"_s;
    hourProfile->Price = 300;
    hourProfile->PriceText = u"R$ 3,00"_s;
    hourProfile->HotSpot = defaultHotSpot(u"1 Hora"_s, 3600, 300);
    hourProfile->Design = cardB;

    dayProfile = std::make_shared<VoucherProfile>();
    dayProfile->Name = u"1dia"_s;
    dayProfile->Title = u"1 Dia"_s;
    dayProfile->Validity = u"1d"_s;
    dayProfile->ValidityDisplay = u"1 Dia"_s;
    dayProfile->Price = 500;
    dayProfile->PriceText = u"R$ 5,00"_s;
    dayProfile->Design = standard;

    h.state.profiles = {hourProfile, dayProfile};
    h.state.routerInfo = {6, 48, u"admin"_s};
    h.state.settings.VoucherSerial = 41;
    h.state.userNames = {u"ana"_s, u"bruno"_s};
    loadUiResources(resources);
}

SellingFixture::~SellingFixture() = default;

QStringList SellingFixture::batchNames() const
{
    QStringList names;
    for (const VoucherRecord &record : h.state.batch)
        names << record.UserName;
    return names;
}

QStringList SellingFixture::routerHotSpotUsers()
{
    QStringList names;
    for (const routersim::HotspotUser &user : h.router().state().hotspotUsers)
        names << user.name;
    return names;
}
