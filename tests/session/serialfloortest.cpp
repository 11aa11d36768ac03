#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/settingskey.h"
#include "history/historydatabase.h"
#include "session/serialfloor.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<QByteArray>)
Q_DECLARE_METATYPE(std::optional<quint32>)

namespace {

const QByteArray KeyLines = "Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"
                            "\"UseCurrency\"=\"R$ %c\"\n";

QString takenFromHistory(quint32 next)
{
    return u"O número de série dos vouchers não pôde ser lido nas configurações e foi retomado do "
           "histórico.\nO próximo voucher terá o número %1."_s.arg(next);
}

QString belowTheFloor(quint32 stored, quint32 next)
{
    return u"O número de série dos vouchers nas configurações (%1) está abaixo de números já registrados no "
           "histórico.\nO próximo voucher terá o número %2."_s.arg(stored)
               .arg(next);
}

const QString Refused = u"Erro: o número de série dos vouchers não pôde ser lido nas configurações, e o "
                        "histórico, de onde ele seria retomado, não está acessível.\nNenhum voucher foi "
                        "criado. Defina o próximo número em \"Codigo:\" na configuração."_s;

QList<qint64> range(qint64 first, qint64 last)
{
    QList<qint64> out;
    for (qint64 i = first; i <= last; ++i)
        out << i;
    return out;
}

// The journal's lines as a run writes them: waiting rows and one unconfirmed.
QByteArray journal(const QList<qint64> &serials)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < serials.size(); ++i) {
        bytes += R"({"UserName":"j)" + QByteArray::number(serials[i]) +
                 R"(","Created":"2026-12-10 10:00:00","Price":300,"Serial":)" +
                 QByteArray::number(serials[i]) + (i == 0 ? R"(,"Journal":"unconfirmed"})" : "}") + "\n";
    }
    return bytes;
}

// The lines of the settings file naming "VoucherSerial", read as text.
QStringList serialLines(const QString &settingsFile)
{
    QFile file(settingsFile);
    QStringList lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.contains(u"VoucherSerial"_s))
            lines << line.trimmed();
    }
    return lines;
}

} // namespace

class SerialFloorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nextSerial_data();
    void nextSerial();
};

void SerialFloorTest::nextSerial_data()
{
    QTest::addColumn<std::optional<QByteArray>>("settings"); // the key's serial line(s); none: no file
    QTest::addColumn<QList<qint64>>("history");              // serials of the History table
    QTest::addColumn<bool>("historyOpen");
    QTest::addColumn<QList<qint64>>("journal"); // serials of HistoryPending.jsonl
    QTest::addColumn<quint32>("current");       // the run's copy of the settings
    QTest::addColumn<std::optional<quint32>>("next");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("lines"); // the file's lines of the value afterwards

    const std::optional<QByteArray> noFile;
    const auto held = [](const QByteArray &line) { return std::optional<QByteArray>(KeyLines + line); };
    const QList<qint64> none;
    const QList<qint64> tenMade = range(1, 10);
    const QString line11 = u"\"VoucherSerial\"=dword:0000000b"_s;

    QTest::addRow("stored above the floor")
        << held("\"VoucherSerial\"=dword:0000001e\n") << tenMade << true << none << 1u
        << std::optional<quint32>(30) << QString() << QStringList{u"\"VoucherSerial\"=dword:0000001e"_s};
    QTest::addRow("stored at the floor")
        << held("\"VoucherSerial\"=dword:0000000b\n") << tenMade << true << none << 1u
        << std::optional<quint32>(11) << QString() << QStringList{line11};
    QTest::addRow("stored below the history")
        << held("\"VoucherSerial\"=dword:00000005\n") << tenMade << true << none << 5u
        << std::optional<quint32>(11) << belowTheFloor(5, 11) << QStringList{line11};
    QTest::addRow("stored below the journal")
        << held("\"VoucherSerial\"=dword:0000000b\n") << tenMade << true << QList<qint64>{12, 20, 15} << 11u
        << std::optional<quint32>(21) << belowTheFloor(11, 21)
        << QStringList{u"\"VoucherSerial\"=dword:00000015"_s};
    QTest::addRow("digits cut short read as 0")
        << held("\"VoucherSerial\"=dword:0000") << tenMade << true << none << 1u << std::optional<quint32>(11)
        << belowTheFloor(0, 11) << QStringList{line11};
    QTest::addRow("stored beyond the last serial is 1")
        << held("\"VoucherSerial\"=dword:ffffffff\n") << tenMade << true << none << 1u
        << std::optional<quint32>(11) << belowTheFloor(1, 11) << QStringList{line11};

    // Missing: a new installation has none, so the run's copy counts.
    QTest::addRow("new installation")
        << noFile << none << true << none << 41u << std::optional<quint32>(41) << QString() << QStringList();
    QTest::addRow("no file, history held")
        << noFile << range(1, 50) << true << none << 41u << std::optional<quint32>(51) << takenFromHistory(51)
        << QStringList{u"\"VoucherSerial\"=dword:00000033"_s};
    QTest::addRow("line removed") << held("") << tenMade << true << QList<qint64>{12, 15} << 1u
                                  << std::optional<quint32>(16) << takenFromHistory(16)
                                  << QStringList{u"\"VoucherSerial\"=dword:00000010"_s};
    QTest::addRow("line removed, history closed: the journal counts")
        << held("") << tenMade << false << QList<qint64>{7} << 3u << std::optional<quint32>(8)
        << takenFromHistory(8) << QStringList{u"\"VoucherSerial\"=dword:00000008"_s};

    // Unreadable: the floor, never the damaged value or the run's copy.
    QTest::addRow("a digit turned into g")
        << held("\"VoucherSerial\"=dword:0000000g\n") << tenMade << true << QList<qint64>{20} << 500u
        << std::optional<quint32>(21) << takenFromHistory(21)
        << QStringList{u"\"VoucherSerial\"=dword:00000015"_s};
    QTest::addRow("cut at the end of the file")
        << held("\"VoucherSerial\"=dwo") << tenMade << true << none << 1u << std::optional<quint32>(11)
        << takenFromHistory(11) << QStringList{line11};
    QTest::addRow("a text, not a DWORD")
        << held("\"VoucherSerial\"=\"12\"\n") << tenMade << true << none << 1u << std::optional<quint32>(11)
        << takenFromHistory(11) << QStringList{line11};
    QTest::addRow("damaged, empty history")
        << held("\"VoucherSerial\"=dword:zz\n") << none << true << none << 7u << std::optional<quint32>(1)
        << takenFromHistory(1) << QStringList{u"\"VoucherSerial\"=dword:00000001"_s};
    QTest::addRow("damaged, history closed: nothing is made")
        << held("\"VoucherSerial\"=dword:0000000g\n") << tenMade << false << QList<qint64>{20} << 500u
        << std::optional<quint32>() << Refused << QStringList{u"\"VoucherSerial\"=dword:0000000g"_s};

    // The ends of the range.
    QTest::addRow("the counter came round")
        << held("\"VoucherSerial\"=dword:00000005\n") << QList<qint64>{999999998, 999999999, 3} << true
        << none << 5u << std::optional<quint32>(5) << QString()
        << QStringList{u"\"VoucherSerial\"=dword:00000005"_s};
    QTest::addRow("a journal serial no voucher gets")
        << held("\"VoucherSerial\"=dword:0000000b\n") << tenMade << true << QList<qint64>{4000000000} << 1u
        << std::optional<quint32>(11) << QString() << QStringList{line11};
}

void SerialFloorTest::nextSerial()
{
    QFETCH(std::optional<QByteArray>, settings);
    QFETCH(QList<qint64>, history);
    QFETCH(bool, historyOpen);
    QFETCH(QList<qint64>, journal);
    QFETCH(quint32, current);
    QFETCH(std::optional<quint32>, next);
    QFETCH(QString, message);
    QFETCH(QStringList, lines);

    TestFolder folder;
    if (settings)
        folder.writeSettings(*settings);
    if (!journal.isEmpty())
        folder.writeDataFile(u"HistoryPending.jsonl"_s, ::journal(journal));
    HistoryDatabase database;
    {
        HistoryDatabase writer;
        HistoryLocation location;
        location.file = folder.dataFolder() + u"/History.db"_s;
        QVERIFY(writer.open(location));
        QSqlQuery insert(writer.connection());
        for (qint64 serial : history)
            QVERIFY(insert.exec(u"INSERT INTO History (UserName, Serial) VALUES ('h', %1)"_s.arg(serial)));
        if (historyOpen)
            QVERIFY(database.open(location));
    }

    ScriptedInteraction interaction;
    const SettingsKey key(folder.settingsFile());
    QCOMPARE(nextVoucherSerial(key, folder.dataFolder(), database, current, interaction), next);
    QCOMPARE(interaction.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(interaction.events[0].icon, next ? MessageIcon::Warning : MessageIcon::Error);
    QCOMPARE(serialLines(folder.settingsFile()), lines);
    // What the value was mended from is left as it was.
    if (!journal.isEmpty())
        QCOMPARE(folder.readDataFile(u"HistoryPending.jsonl"_s), ::journal(journal));
}

WIFITICKETER_TEST(SerialFloorTest)
#include "serialfloortest.moc"
