#include "salesbytes.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "history/pendingjournal.h"
#include "session/salesledger.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray record(qint32 count)
{
    return saleRecordBytes(count, u"1 Hora"_s, 300);
}

QByteArray keptSales(const QList<int> &sales)
{
    QByteArray line = "{\"Journal\":\"sales\",\"Sales\":[";
    for (qsizetype i = 0; i < sales.size(); ++i) {
        line += (i ? "," : "") + QByteArray("{\"Id\":\"s") + QByteArray::number(i) +
                "\",\"Title\":\"1 Hora\",\"Price\":300,\"Count\":" + QByteArray::number(sales[i]) +
                ",\"Serials\":\"\"}";
    }
    return line + "]}\n";
}

QByteArray posted(const QByteArray &file)
{
    return "{\"Journal\":\"posted\",\"Hash\":\"" +
           QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex() + "\"}\n";
}

// Two vouchers confirmed and sold before the journal took PosHistory.bin's sales.
const QByteArray SoldBeforeTaking =
    "{\"Journal\":\"unconfirmed\",\"UserName\":\"a\",\"Created\":\"2026-12-10 09:00:00\",\"Price\":300,"
    "\"Serial\":7,\"RouterAt\":\"x:1\"}\n"
    "{\"Journal\":\"unconfirmed\",\"UserName\":\"b\",\"Created\":\"2026-12-10 09:00:00\",\"Price\":300,"
    "\"Serial\":8,\"RouterAt\":\"x:1\"}\n"
    "{\"Journal\":\"confirmed\",\"Serials\":\"7-8\",\"Sales\":[{\"Id\":\"r\",\"Title\":\"1 "
    "Hora\",\"Price\":300,"
    "\"Serials\":\"7-8\"}]}\n";

} // namespace

class SalesLedgerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reconcile_data();
    void reconcile();
    void clearing();
};

void SalesLedgerTest::reconcile_data()
{
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<bool>("kept");

    const QByteArray two = record(2);
    const QByteArray twoThree = record(2) + record(3);
    QTest::addRow("nothing at all") << QByteArray() << false << QByteArray() << QList<int>() << false;
    QTest::addRow("the file is taken as it is")
        << QByteArray() << true << twoThree << QList<int>{2, 3} << false;
    QTest::addRow("sales sold before the file was taken come after its own")
        << SoldBeforeTaking << true << two << QList<int>{2, 2} << false;
    QTest::addRow("the file last written, behind the journal")
        << keptSales({2, 3}) + posted(two) << true << two << QList<int>{2, 3} << false;
    QTest::addRow("the journal's file, up to date")
        << keptSales({2, 3}) + posted(twoThree) << true << twoThree << QList<int>{2, 3} << false;
    QTest::addRow("no file: written")
        << keptSales({2, 3}) << false << QByteArray() << QList<int>{2, 3} << false;
    QTest::addRow("a file the journal did not write is kept")
        << keptSales({2, 3}) + posted(two) << true << record(9) << QList<int>{2, 3} << true;
    QTest::addRow("a damaged file is kept, the journal holds its sales")
        << keptSales({2, 3}) + posted(twoThree) << true << twoThree.chopped(1) << QList<int>{2, 3} << true;
    QTest::addRow("a damaged file taken the first time: what reads of it")
        << QByteArray() << true << twoThree.chopped(1) << QList<int>{2} << true;
}

// PosHistory.bin made to show the journal's sales: never written over when it
// is not the file the journal wrote, and never left without a sale the
// journal holds.
void SalesLedgerTest::reconcile()
{
    QFETCH(QByteArray, journal);
    QFETCH(bool, fileThere);
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, after);
    QFETCH(bool, kept);

    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.dataFolder()));
    if (!journal.isEmpty())
        folder.writeDataFile(u"HistoryPending.jsonl"_s, journal);
    if (fileThere)
        folder.writeDataFile(u"PosHistory.bin"_s, file);

    PendingJournal pending(folder.dataFolder());
    const QDateTime now(QDate(2026, 12, 11), QTime(9, 30, 5));
    const SalesFileOutcome outcome = reconcileSalesFile(pending, folder.dataFolder(), now);
    QVERIFY(!outcome.unwritten && !outcome.journalFailed);
    QCOMPARE(saleCountsOf(folder.readDataFile(u"PosHistory.bin"_s)), after);
    QCOMPARE(!outcome.keptAs.isEmpty(), kept);
    if (kept) {
        QCOMPARE(outcome.keptAs, folder.dataFolder() + u"/PosHistory-20261211-093005.bin"_s);
        QCOMPARE(folder.readDataFile(u"PosHistory-20261211-093005.bin"_s), file);
    }
    if (!after.isEmpty())
        QCOMPARE(permissionBits(folder.dataFolder() + u"/PosHistory.bin"_s), 0600);

    // A second time there is nothing left to do: no file is kept again.
    PendingJournal again(folder.dataFolder());
    const SalesFileOutcome second = reconcileSalesFile(again, folder.dataFolder(), now.addSecs(1));
    QVERIFY(second.keptAs.isEmpty());
    QCOMPARE(saleCountsOf(folder.readDataFile(u"PosHistory.bin"_s)), after);
    QCOMPARE(salesEntries(readJournal(folder.dataFolder())->sales).size(), after.size());
}

// "Apagar histórico": the journal's sales and the file are emptied together,
// also the sales that were only in PosHistory.bin.
void SalesLedgerTest::clearing()
{
    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.dataFolder()));
    folder.writeDataFile(u"PosHistory.bin"_s, record(2) + record(3));
    ScriptedInteraction interaction;
    QVERIFY(clearRecordedSales(folder.dataFolder(), QDateTime::currentDateTime(), interaction));
    QVERIFY(interaction.texts().isEmpty());
    QCOMPARE(folder.readDataFile(u"PosHistory.bin"_s), QByteArray());
    QVERIFY(readJournal(folder.dataFolder())->sales.isEmpty());
    QVERIFY(currentSales(folder.dataFolder()).isEmpty());
}

WIFITICKETER_TEST(SalesLedgerTest)
#include "salesledgertest.moc"
