#include "testmain.h"

#include "history/journalstate.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Lines written here as text, independently of the program's writers.
QByteArray unconfirmed(const char *user, int serial, const char *extra = ",\"RouterAt\":\"10.0.0.1:8728\"")
{
    return QByteArray("{\"Journal\":\"unconfirmed\",\"UserName\":\"") + user +
           "\",\"Password\":\"pw\",\"Profile\":\"!#1 Hora\",\"Router\":\"Loja\",\"Created\":\"2026-12-10 "
           "09:00:00\",\"Price\":300,\"Serial\":" +
           QByteArray::number(serial) + extra + "}";
}

QByteArray confirmed(const char *serials, const char *sale = "s1")
{
    QByteArray line = QByteArray("{\"Journal\":\"confirmed\",\"Serials\":\"") + serials + "\"";
    if (sale)
        line += QByteArray(",\"Sales\":[{\"Id\":\"") + sale +
                "\",\"Title\":\"1 Hora\",\"Price\":300,\"Serials\":\"" + serials + "\"}]";
    return line + "}";
}

QByteArray withdrawn(const char *serials)
{
    return QByteArray("{\"Journal\":\"withdrawn\",\"Serials\":\"") + serials + "\"}";
}

QByteArray lines(const QList<QByteArray> &list)
{
    QByteArray bytes;
    for (const QByteArray &line : list)
        bytes += line + '\n';
    return bytes;
}

// The state in a few words: unconfirmed user names, then each sale as
// "title count [serials]".
QString describe(const JournalState &state)
{
    QStringList parts;
    QStringList names;
    for (const JournalEntry &entry : state.unconfirmed)
        names << entry.row.UserName;
    parts << u"unconfirmed: "_s + names.join(u',');
    for (const JournalSale &sale : state.sales)
        parts << u"%1 %2 [%3]"_s.arg(sale.title).arg(sale.count).arg(serialRangesText(sale.serials));
    return parts.join(u"; "_s);
}

} // namespace

class JournalStateTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replay_data();
    void replay();
    void compactedStateReadsBackTheSame();
    void latestSalesKept();
    void serialRanges_data();
    void serialRanges();
    void addingSerials_data();
    void addingSerials();
};

void JournalStateTest::replay_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("unreadable");
    QTest::addColumn<bool>("wholeCommitted");

    const QByteArray a = unconfirmed("a", 1);
    const QByteArray b = unconfirmed("b", 2);
    QTest::addRow("written down, not confirmed") << lines({a, b}) << u"unconfirmed: a,b"_s << 0 << true;
    QTest::addRow("confirmed and sold in one line")
        << lines({a, b, confirmed("1-2")}) << u"unconfirmed: ; 1 Hora 2 [1-2]"_s << 0 << true;
    QTest::addRow("the same line twice sells once") << lines({a, b, confirmed("1-2"), confirmed("1-2")})
                                                    << u"unconfirmed: ; 1 Hora 2 [1-2]"_s << 0 << true;
    QTest::addRow("a serial no longer unconfirmed is not sold")
        << lines({a, confirmed("1-2")}) << u"unconfirmed: ; 1 Hora 1 [1]"_s << 0 << true;
    QTest::addRow("groups of one run grow one sale")
        << lines({a, confirmed("1"), b, confirmed("2")}) << u"unconfirmed: ; 1 Hora 2 [1-2]"_s << 0 << true;
    QTest::addRow("another sale id is another sale")
        << lines({a, confirmed("1"), b, confirmed("2", "s2")})
        << u"unconfirmed: ; 1 Hora 1 [1]; 1 Hora 1 [2]"_s << 0 << true;
    QTest::addRow("confirmed without a sale: sold before")
        << lines({a, confirmed("1", nullptr)}) << u"unconfirmed: "_s << 0 << true;
    QTest::addRow("withdrawn") << lines({a, b, withdrawn("1")}) << u"unconfirmed: b"_s << 0 << true;
    QTest::addRow("a new name replaces the entry of its serial")
        << lines({a, unconfirmed("a2", 1)}) << u"unconfirmed: a2"_s << 0 << true;
    QTest::addRow("cleared") << lines(
                                    {a, confirmed("1"), "{\"Journal\":\"cleared\"}", b, confirmed("2", "s2")})
                             << u"unconfirmed: ; 1 Hora 1 [2]"_s << 0 << true;
    QTest::addRow("a line that cannot be read is kept and passed over")
        << lines({a, "{\"Journal\":\"confirmed\",\"Serials\":\"x\"}", "not json", b}) << u"unconfirmed: a,b"_s
        << 2 << true;
    // A kill while a line was being appended leaves it without its line
    // break: that change never happened.
    QTest::addRow("cut off while written")
        << lines({a, b}) + confirmed("1-2").chopped(5) << u"unconfirmed: a,b"_s << 0 << false;
    QTest::addRow("written whole but for its line break")
        << lines({a, b}) + confirmed("1-2") << u"unconfirmed: ; 1 Hora 2 [1-2]"_s << 0 << true;
    QTest::addRow("older journal's entry")
        << lines({unconfirmed("a", 1, "")}) << u"unconfirmed: a"_s << 0 << true;
}

void JournalStateTest::replay()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QFETCH(int, unreadable);
    QFETCH(bool, wholeCommitted);

    qsizetype committed = -1;
    const JournalState state = replayJournal(file, &committed);
    QCOMPARE(describe(state), expected);
    QCOMPARE(state.unreadable.size(), unreadable);
    QCOMPARE(committed == file.size(), wholeCommitted);
    if (!wholeCommitted)
        QCOMPARE(file.at(committed - 1), '\n');
}

void JournalStateTest::compactedStateReadsBackTheSame()
{
    const JournalState state = replayJournal(
        lines({unconfirmed("a", 1), unconfirmed("b", 2), unconfirmed("c", 5, ""), confirmed("1"),
               "{\"Journal\":\"posted\",\"Hash\":\"00ff\"}", "not json",
               "{\"UserName\":\"w\",\"Created\":\"2026-12-10 09:00:00\",\"Price\":1,\"Serial\":9}"}));
    const JournalState back = replayJournal(compactJournal(state));
    QCOMPARE(describe(back), describe(state));
    QCOMPARE(back.unconfirmed[0].routerAt, u"10.0.0.1:8728"_s);
    QVERIFY(back.unconfirmed[1].legacy);
    QCOMPARE(back.postedHash, QByteArray("\x00\xff", 2));
    QCOMPARE(back.unreadable, QList<QByteArray>{"not json"});
    QCOMPARE(back.waiting.size(), 1);
    QCOMPARE(back.waiting[0].UserName, u"w"_s);
    // The shortest form is stable.
    QCOMPARE(compactJournal(back), compactJournal(state));
}

void JournalStateTest::latestSalesKept()
{
    QList<QByteArray> list;
    for (int i = 1; i <= 120; ++i) {
        list << unconfirmed("v", i)
             << confirmed(QByteArray::number(i).constData(),
                          QByteArray("s" + QByteArray::number(i)).constData());
    }
    const JournalState state = replayJournal(lines(list));
    QCOMPARE(state.sales.size(), 99);
    QCOMPARE(serialRangesText(state.sales.first().serials), u"22"_s);
    QCOMPARE(serialRangesText(state.sales.last().serials), u"120"_s);
}

void JournalStateTest::serialRanges_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<SerialList>("serials");
    QTest::addRow("empty") << QString() << true << SerialList();
    QTest::addRow("one") << u"7"_s << true << SerialList{7};
    QTest::addRow("ranges") << u"1-3,7,9-10"_s << true << SerialList{1, 2, 3, 7, 9, 10};
    QTest::addRow("largest") << u"4294967295"_s << true << SerialList{4294967295u};
    QTest::addRow("descending range") << u"5-3"_s << false << SerialList();
    QTest::addRow("out of order") << u"7,3"_s << false << SerialList();
    QTest::addRow("overlapping") << u"1-5,5"_s << false << SerialList();
    QTest::addRow("not a number") << u"1-x"_s << false << SerialList();
    QTest::addRow("too large") << u"4294967296"_s << false << SerialList();
    QTest::addRow("negative") << u"-1"_s << false << SerialList();
    QTest::addRow("a range no run makes") << u"1-4000000000"_s << false << SerialList();
}

void JournalStateTest::serialRanges()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(SerialList, serials);

    const std::optional<SerialList> parsed = parseSerialRanges(text);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(*parsed, serials);
    QCOMPARE(::serialRanges(serials), text);
}

void JournalStateTest::addingSerials_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<SerialList>("added");
    QTest::addColumn<QString>("after");
    QTest::addRow("into nothing") << QString() << SerialList{5, 3, 4} << u"3-5"_s;
    QTest::addRow("joins the end") << u"1-3"_s << SerialList{4} << u"1-4"_s;
    QTest::addRow("joins the start") << u"5-7"_s << SerialList{4} << u"4-7"_s;
    QTest::addRow("fills a gap") << u"1-3,5-7"_s << SerialList{4} << u"1-7"_s;
    QTest::addRow("held already") << u"1-3"_s << SerialList{2, 3} << u"1-3"_s;
    QTest::addRow("apart") << u"1-3,9"_s << SerialList{6, 11} << u"1-3,6,9,11"_s;
    QTest::addRow("the largest serial")
        << u"4294967294"_s << SerialList{4294967295u} << u"4294967294-4294967295"_s;
    QTest::addRow("zero") << u"1"_s << SerialList{0} << u"0-1"_s;
}

void JournalStateTest::addingSerials()
{
    QFETCH(QString, before);
    QFETCH(SerialList, added);
    QFETCH(QString, after);
    SerialRanges ranges = parseSerialRangesText(before).value();
    addSerials(ranges, added);
    QCOMPARE(serialRangesText(ranges), after);
}

WIFITICKETER_TEST(JournalStateTest)
#include "journalstatetest.moc"
