#include "clirun.h"
#include "clisimulator.h"
#include "testfolder.h"
#include "testmain.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Makes vouchers of "3 horas" (the hotspot notice goes to standard error too);
// their serials.
QStringList generate(const TestFolder &folder, int count, CliRun *run = nullptr)
{
    const CliRun made =
        runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"3 horas"_s,
                                              u"--count"_s, QString::number(count)});
    if (run)
        *run = made;
    QStringList serials;
    for (const QString &line : made.out.split(u'\n', Qt::SkipEmptyParts))
        serials << line.section(u'\t', 2, 2);
    return serials;
}

QStringList serialTexts(int first, int last)
{
    QStringList texts;
    for (int serial = first; serial <= last; ++serial)
        texts << u"%1"_s.arg(serial, 9, 10, QChar(u'0'));
    return texts;
}

// The lines of the settings file that name "VoucherSerial", read as text.
QStringList serialLines(const TestFolder &folder)
{
    QFile file(folder.settingsFile());
    QStringList lines;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            if (line.contains(u"VoucherSerial"_s, Qt::CaseInsensitive))
                lines << line.trimmed();
        }
    }
    return lines;
}

// Rows of vouchers made while the history database was away, waiting in the
// journal: serials above those of the history.
QByteArray waitingRows(const QList<int> &serials)
{
    QByteArray bytes;
    for (int serial : serials) {
        bytes += R"({"UserName":"usrj)" + QByteArray::number(serial) +
                 R"(","Password":"x","Profile":"!#3 horas","Router":"Sim","Generator":"caixa",)"
                 R"("Created":"2026-12-10 10:00:00","Price":300,"Serial":)" +
                 QByteArray::number(serial) + "}\n";
    }
    return bytes;
}

QString takenFromHistory(int next)
{
    return u"O número de série dos vouchers não pôde ser lido nas configurações e foi retomado do "
           "histórico.\nO próximo voucher terá o número %1.\n"_s.arg(next);
}

} // namespace

class SerialCounterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void damagedCounterContinuesAboveTheHistory_data();
    void damagedCounterContinuesAboveTheHistory();
};

void SerialCounterTest::damagedCounterContinuesAboveTheHistory_data()
{
    QTest::addColumn<QByteArray>("line");    // in place of the counter's line; empty: removed
    QTest::addColumn<QList<int>>("journal"); // serials waiting in the journal
    QTest::addColumn<int>("next");           // the first serial of the next run
    QTest::addColumn<QString>("message");

    QTest::addRow("line removed") << QByteArray() << QList<int>{} << 11 << takenFromHistory(11);
    QTest::addRow("line removed, journal above")
        << QByteArray() << QList<int>{20, 25} << 26 << takenFromHistory(26);
    QTest::addRow("line cut") << QByteArray("\"VoucherSerial\"=dwo") << QList<int>{25} << 26
                              << takenFromHistory(26);
    QTest::addRow("a digit turned into g")
        << QByteArray("\"VoucherSerial\"=dword:0000000g") << QList<int>{20, 25} << 26 << takenFromHistory(26);
    QTest::addRow("a text in its place")
        << QByteArray("\"VoucherSerial\"=\"11\"") << QList<int>{} << 11 << takenFromHistory(11);
    QTest::addRow("set back below")
        << QByteArray("\"VoucherSerial\"=dword:00000003") << QList<int>{} << 11
        << u"O número de série dos vouchers nas configurações (3) está abaixo de números já registrados no "
           "histórico.\nO próximo voucher terá o número 11.\n"_s;
}

// Ten vouchers made, then the counter damaged by hand: the next run's
// serials continue above every serial the history and the journal hold, the
// operator is told, and the settings file holds the counter once.
void SerialCounterTest::damagedCounterContinuesAboveTheHistory()
{
    QFETCH(QByteArray, line);
    QFETCH(QList<int>, journal);
    QFETCH(int, next);
    QFETCH(QString, message);

    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    CliRun first;
    QCOMPARE(generate(folder, 10, &first), serialTexts(1, 10));
    QVERIFY2(!first.err.contains(u"número de série"_s), qPrintable(first.err));

    QFile file(folder.settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray settings = file.readAll();
    file.close();
    const QByteArray counter = "\"VoucherSerial\"=dword:0000000b\r\n";
    const QByteArray lineEnd = settings.contains(counter) ? "\r\n" : "\n";
    const QByteArray stored = "\"VoucherSerial\"=dword:0000000b" + lineEnd;
    QVERIFY2(settings.contains(stored), settings.constData());
    settings.replace(stored, line.isEmpty() ? QByteArray() : line + lineEnd);
    folder.writeSettings(settings);
    if (!journal.isEmpty())
        folder.writeDataFile(u"HistoryPending.jsonl"_s, waitingRows(journal));

    CliRun run;
    QCOMPARE(generate(folder, 2, &run), serialTexts(next, next + 1));
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.err.count(u"número de série"_s), 1);
    QCOMPARE(serialLines(folder),
             QStringList{u"\"VoucherSerial\"=dword:%1"_s.arg(next + 2, 8, 16, QChar(u'0'))});

    // Every serial the history holds, once.
    const CliRun history =
        runCli(folder, Operator + QStringList{u"history"_s, u"--from"_s, u"2000-01-01"_s, u"--to"_s,
                                              u"2099-12-31"_s, u"--format"_s, u"json"_s});
    QStringList serials;
    for (const QJsonValue &row : QJsonDocument::fromJson(history.out.toUtf8()).object()[u"rows"_s].toArray())
        serials << row[u"serial"_s].toString();
    QStringList expected = serialTexts(1, 10);
    for (int serial : journal)
        expected << serialTexts(serial, serial);
    expected << serialTexts(next, next + 1);
    serials.sort();
    expected.sort();
    QCOMPARE(serials, expected);
}

WIFITICKETER_TEST(SerialCounterTest)
#include "serialcountertest.moc"
