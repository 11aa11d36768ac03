#include "clirun.h"
#include "clisimulator.h"
#include "testfolder.h"
#include "testmain.h"

#include "design/voucherdesign.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

// Printing through a real spooler: WIFITICKETER_TEST_PRINT_QUEUE names a
// cups-pdf queue and WIFITICKETER_TEST_PRINT_OUTPUT the folder its PDF files
// appear in (scripts/start-cups.sh sets both up). Without a queue the print
// test is skipped; with one it passes or fails.

namespace {

// The ids of the queue's jobs: which is "all" or "not-completed".
QSet<int> jobIds(const QString &queue, const QString &which)
{
    const CliRun run = runTool(u"lpstat"_s, {u"-W"_s, which, u"-o"_s, queue});
    QSet<int> ids;
    const QRegularExpression line(u"^%1-(\\d+)\\s"_s.arg(QRegularExpression::escape(queue)),
                                  QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(run.out); it.hasNext();)
        ids.insert(it.next().captured(1).toInt());
    return ids;
}

// The queue's default paper, as lpoptions marks it ("A4", "Letter").
QString defaultPaper(const QString &queue)
{
    const CliRun run = runTool(u"lpoptions"_s, {u"-p"_s, queue, u"-l"_s});
    const QRegularExpressionMatch match =
        QRegularExpression(u"^PageSize/[^:]*:.*\\*(\\S+)"_s, QRegularExpression::MultilineOption)
            .match(run.out);
    return match.captured(1);
}

QString pageText(const QString &pdf, int page)
{
    const QString number = QString::number(page);
    return runTool(u"pdftotext"_s, {u"-f"_s, number, u"-l"_s, number, pdf, u"-"_s}).out;
}

QString pdfFiles(const QString &folder)
{
    return QDir(folder).entryList({u"*.pdf"_s}, QDir::Files).join(u", "_s);
}

} // namespace

class PrintSpoolerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printedThroughQueue();
    void unknownQueue();
};

void PrintSpoolerTest::printedThroughQueue()
{
    const QString queue = qEnvironmentVariable("WIFITICKETER_TEST_PRINT_QUEUE");
    if (queue.isEmpty())
        QSKIP("WIFITICKETER_TEST_PRINT_QUEUE names no print queue (scripts/start-cups.sh sets one up)");
    const QString output = qEnvironmentVariable("WIFITICKETER_TEST_PRINT_OUTPUT");
    QVERIFY2(QDir(output).exists(), "WIFITICKETER_TEST_PRINT_OUTPUT must name the queue's output folder");
    QVERIFY2(runTool(u"lpstat"_s, {u"-r"_s}).out.startsWith(u"scheduler is running"_s),
             "the CUPS scheduler does not run");

    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const QSet<int> jobsBefore = jobIds(queue, u"all"_s);
    const QStringList filesBefore = QDir(output).entryList(QDir::Files);

    QElapsedTimer timer;
    timer.start();
    const CliRun run =
        runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"3 horas"_s,
                                              u"--count"_s, u"10"_s, u"--print"_s, u"--printer"_s, queue});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const qint64 spooled = timer.elapsed();
    QList<QStringList> vouchers;
    for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts))
        vouchers.append(line.split(u'\t'));
    QCOMPARE(vouchers.size(), 10);

    // The run left exactly one job on the queue.
    const QSet<int> newJobs = jobIds(queue, u"all"_s) - jobsBefore;
    QVERIFY2(newJobs.size() == 1, qPrintable(u"new jobs on %1: %2"_s.arg(queue).arg(newJobs.size())));
    const int job = *newJobs.begin();

    // The job is done once the scheduler no longer holds it and cups-pdf has
    // written a file labelled with its id.
    const QRegularExpression labelled(u"(^|-)job_%1(-.*)?\\.pdf$"_s.arg(job));
    QString pdf;
    while (pdf.isEmpty()) {
        if (!jobIds(queue, u"not-completed"_s).contains(job)) {
            for (const QString &name : QDir(output).entryList(QDir::Files)) {
                if (labelled.match(name).hasMatch() && !filesBefore.contains(name))
                    pdf = output + u'/' + name;
            }
        }
        if (pdf.isEmpty() && timer.elapsed() > 60000)
            QFAIL(qPrintable(u"job %1 gave no PDF in %2 within 60 s; there: %3; lpstat: %4"_s.arg(job).arg(
                output, pdfFiles(output), runTool(u"lpstat"_s, {u"-l"_s, u"-p"_s, queue}).out)));
        if (pdf.isEmpty())
            QThread::msleep(100);
    }
    qInfo("job %d: spooled after %lld ms, PDF written after %lld ms", job, spooled, timer.elapsed());

    const CliRun info = runTool(u"pdfinfo"_s, {u"-f"_s, u"1"_s, u"-l"_s, u"1000"_s, pdf});
    QVERIFY2(info.exitCode == 0, qPrintable(info.err));
    const QRegularExpressionMatch pages =
        QRegularExpression(u"^Pages:\\s+(\\d+)$"_s, QRegularExpression::MultilineOption).match(info.out);
    QVERIFY2(pages.hasMatch(), qPrintable(info.out));
    QList<QRegularExpressionMatch> sizes;
    const QRegularExpression pageSize(u"^Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts(?: \\((\\w+)\\))?"_s,
                                      QRegularExpression::MultilineOption);
    for (auto it = pageSize.globalMatch(info.out); it.hasNext();)
        sizes.append(it.next());
    QVERIFY2(!sizes.isEmpty(), qPrintable(info.out));
    QCOMPARE(sizes.size(), pages.captured(1).toInt());
    // Every sheet is the queue's default paper: fill-page designs take the
    // paper the printer has.
    for (const QRegularExpressionMatch &size : sizes) {
        QCOMPARE(size.captured(1), sizes[0].captured(1));
        QCOMPARE(size.captured(2), sizes[0].captured(2));
    }
    QCOMPARE(sizes[0].captured(3).toLower(), defaultPaper(queue).toLower());

    // The profile prints with the default design (the installation maps no
    // other), which fills the page with 84 × 54 mm cards 10 mm apart. On A4
    // (2099 × 2970 tenths of a mm) that is 2 columns of 940 and 4 rows of 640,
    // 8 a sheet, and the 10 vouchers take 2 sheets. The printable area is the
    // sheet less its margins, but any margins under 10 mm a side give the same.
    const VoucherDesign design = makeDefaultDesign();
    const int width = qRound(sizes[0].captured(1).toDouble() * 254 / 72);
    const int height = qRound(sizes[0].captured(2).toDouble() * 254 / 72);
    const int perSheet =
        qMax(1, width / (design.Width + design.Margin)) * qMax(1, height / (design.Height + design.Margin));
    QCOMPARE(pages.captured(1).toInt(), (vouchers.size() + perSheet - 1) / perSheet);

    // Each voucher shows its user name and password, on its sheet in list order.
    for (int i = 0; i < vouchers.size(); ++i) {
        const QString text = pageText(pdf, i / perSheet + 1);
        QVERIFY2(text.contains(vouchers[i][0]) && text.contains(vouchers[i][1]),
                 qPrintable(u"voucher %1 (%2, %3) is not on sheet %4:\n%5"_s.arg(i + 1)
                                .arg(vouchers[i][0], vouchers[i][1])
                                .arg(i / perSheet + 1)
                                .arg(text)));
    }
}

// A printer that is not installed stops the run before the router hears a
// word: nothing is made that could not be printed.
void PrintSpoolerTest::unknownQueue()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 horas"_s, u"--count"_s, u"2"_s, u"--print"_s,
                                                             u"--printer"_s, u"no-such-queue"_s});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
    // One line, with the printers there are.
    QVERIFY2(run.err.startsWith(u"wifiticketer-cli: no printer is named 'no-such-queue'; printers: "_s),
             qPrintable(run.err));
    QCOMPARE(run.err.count(u'\n'), 1);
    const QString queue = qEnvironmentVariable("WIFITICKETER_TEST_PRINT_QUEUE");
    if (!queue.isEmpty())
        QVERIFY2(run.err.contains(u"'%1'"_s.arg(queue)), qPrintable(run.err));
    QCOMPARE(sim.sentences(), Commands());
}

WIFITICKETER_TEST(PrintSpoolerTest)
#include "printspoolertest.moc"
