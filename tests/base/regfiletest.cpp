#include "testfolder.h"
#include "testmain.h"

#include "base/regfile.h"
#include "base/settingskey.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer"_s;

QByteArray regFile(const QString &body)
{
    return (u"Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"_s +
            body)
        .toUtf8();
}

QByteArray utf16le(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

} // namespace

class RegFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void values_data();
    void values();
    void noKey_data();
    void noKey();
    void exportedFromWindows();
    void laterValueWinsAndDeletion();
    void writtenLayout();
    void roundTrip();
    void keyKeepsUnknownValues();
};

void RegFileTest::values_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<RegValue>("expected");

    QTest::addRow("text") << u"\"Prefix\"=\"usr\""_s << u"Prefix"_s << stringValue(u"usr"_s);
    QTest::addRow("escaped backslash and quote")
        << uR"("P"="a\\b\"c")"_s << u"P"_s << stringValue(uR"(a\b"c)"_s);
    QTest::addRow("escaped name") << uR"("a\"b"="x")"_s << uR"(a"b)"_s << stringValue(u"x"_s);
    QTest::addRow("empty text") << u"\"E\"=\"\""_s << u"E"_s << stringValue(QString());
    QTest::addRow("non-ASCII text") << u"\"C\"=\"€ ç\""_s << u"C"_s << stringValue(u"€ ç"_s);
    QTest::addRow("dword") << u"\"N\"=dword:0000000a"_s << u"N"_s << dwordValue(10);
    QTest::addRow("dword upper case") << u"\"N\"=dword:FFFFFFFF"_s << u"N"_s << dwordValue(0xFFFFFFFF);
    QTest::addRow("hex") << u"\"B\"=hex:ff,1d,4b"_s << u"B"_s << binaryValue(QByteArray::fromHex("ff1d4b"));
    QTest::addRow("empty hex") << u"\"B\"=hex:"_s << u"B"_s << binaryValue(QByteArray());
    QTest::addRow("hex continued") << u"\"B\"=hex:01,02,\\\n  03,04"_s << u"B"_s
                                   << binaryValue(QByteArray::fromHex("01020304"));
    QTest::addRow("hex continued with CRLF")
        << u"\"B\"=hex:01,\\\r\n  02\r\n"_s << u"B"_s << binaryValue(QByteArray::fromHex("0102"));
    QTest::addRow("typed hex") << u"\"X\"=hex(2):41,00,00,00"_s << u"X"_s
                               << RegValue{RegExpandString, QByteArray::fromHex("41000000")};
    QTest::addRow("qword") << u"\"Q\"=hex(b):01,00,00,00,00,00,00,00"_s << u"Q"_s
                           << RegValue{RegQWord, QByteArray::fromHex("0100000000000000")};
    QTest::addRow("default value") << u"@=\"d\""_s << QString() << stringValue(u"d"_s);
    QTest::addRow("name ignores case")
        << u"\"VoucherSerial\"=dword:00000002"_s << u"voucherserial"_s << dwordValue(2);
}

void RegFileTest::values()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(RegValue, expected);
    const std::optional<RegKeyValues> key = parseRegFile(regFile(line + u'\n'), Key);
    QVERIFY(key);
    const RegValue *value = findRegValue(*key, name);
    QVERIFY(value);
    QCOMPARE(value->type, expected.type);
    QCOMPARE(value->data, expected.data);
}

void RegFileTest::noKey_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("empty file") << QByteArray();
    QTest::addRow("no header") << QByteArray(
        "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n\"A\"=\"b\"\n");
    QTest::addRow("other key only") << QByteArray(
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\"
        "SOFTWARE\\Talpa Systems\\wifiTicketer\\Sub]\n\"A\"=\"b\"\n");
    QTest::addRow("binary junk") << QByteArray::fromHex("00ff10ab7c0d0a5b");
}

void RegFileTest::noKey()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!parseRegFile(bytes, Key));
}

void RegFileTest::exportedFromWindows()
{
    // UTF-16LE with a byte-order mark and CRLF, the key between others, a
    // wrapped hex value, a subkey whose values must not be taken.
    const std::optional<RegKeyValues> key = parseRegFile(fixture(u"settings-export-utf16.reg"_s), Key);
    QVERIFY(key);
    QCOMPARE(key->size(), 18);
    QCOMPARE(*findRegValue(*key, u"GenerateUserPrefix"_s), stringValue(u"um"_s));
    QCOMPARE(*findRegValue(*key, u"GenerateHotSpotUserPrefix"_s), stringValue(uR"(hs\"x)"_s));
    QCOMPARE(*findRegValue(*key, u"VoucherSerial"_s), dwordValue(123456));
    QCOMPARE(findRegValue(*key, u"UsersData"_s)->data.size(), 34 + 2 + 2 + 51 + 2 + 43);

    // Also a key line written in other case, as a hand-edited file may have it.
    const QByteArray lower = regFile(u"\"A\"=dword:00000001\n"_s).replace("SOFTWARE", "software");
    QVERIFY(parseRegFile(lower, Key));
    QVERIFY(parseRegFile(QByteArray("\xEF\xBB\xBF") + regFile(u"\"A\"=\"b\"\n"_s), Key));
}

void RegFileTest::laterValueWinsAndDeletion()
{
    const QByteArray bytes = regFile(u"\"A\"=\"1\"\n\"B\"=\"x\"\n\"a\"=\"2\"\n\"B\"=-\n; comment\n"
                                     "\"C\"=dword:zz\n\"D\"=hex:1,2,300\ngarbage line\n"_s);
    const std::optional<RegKeyValues> key = parseRegFile(bytes, Key);
    QVERIFY(key);
    QCOMPARE(key->size(), 1);
    QCOMPARE(key->first().name, u"A"_s);
    QCOMPARE(key->first().value, stringValue(u"2"_s));
}

void RegFileTest::writtenLayout()
{
    RegKeyValues values = {
        {u"Prefix"_s, stringValue(uR"(a"b\c)"_s)},
        {u"Size"_s, dwordValue(6)},
        {u"Empty"_s, binaryValue({})},
        {u"Two lines"_s, stringValue(u"a\nb"_s)},
        {u"Long"_s, binaryValue(QByteArray(30, '\xab'))},
    };
    const QByteArray expected =
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"
        "\"Prefix\"=\"a\\\"b\\\\c\"\n"
        "\"Size\"=dword:00000006\n"
        "\"Empty\"=hex:\n"
        "\"Two lines\"=hex(1):61,00,0a,00,62,00,00,00\n"
        "\"Long\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n"
        "  ab,ab,ab,ab,ab,ab,ab,ab\n"
        "\n";
    QCOMPARE(formatRegFile(Key, values), expected);
}

void RegFileTest::roundTrip()
{
    RegKeyValues values = {
        {u"Text"_s, stringValue(u"R$ %c ç"_s)},
        {u"Dword"_s, dwordValue(0x80000001)},
        {u"Short dword"_s, RegValue{RegDWord, QByteArray("\x01\x02", 2)}},
        {u"Text without NUL"_s, RegValue{RegString, utf16le(u"abc"_s)}},
        {u"Binary"_s, binaryValue(QByteArray::fromHex("00ff00ff") + QByteArray(200, '\x7f'))},
        {u"Multi"_s, RegValue{RegMultiString, utf16le(u"a"_s) + QByteArray(4, '\0')}},
        {u"Quote\"and\\"_s, stringValue(u"\\"_s)},
        {u"Lone surrogate"_s, RegValue{RegString, QByteArray("\x00\xD8\x00\x00", 4)}},
    };
    const std::optional<RegKeyValues> back = parseRegFile(formatRegFile(Key, values), Key);
    QVERIFY(back);
    QCOMPARE(back->size(), values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        QCOMPARE((*back)[i].name, values[i].name);
        QCOMPARE((*back)[i].value, values[i].value);
    }
}

void RegFileTest::keyKeepsUnknownValues()
{
    TestFolder folder;
    folder.writeSettings(regFile(u"\"Other\"=\"kept\"\n\"Size\"=dword:00000001\n"_s));
    SettingsKey key(folder.settingsFile());
    QVERIFY(key.write({{u"size"_s, dwordValue(9)}, {u"New"_s, stringValue(u"n"_s)}}));
    const std::optional<RegKeyValues> back = key.read();
    QVERIFY(back);
    QCOMPARE(back->size(), 3);
    QCOMPARE(*findRegValue(*back, u"Other"_s), stringValue(u"kept"_s));
    // The stored spelling of a name stays.
    QCOMPARE((*back)[1].name, u"Size"_s);
    QCOMPARE((*back)[1].value, dwordValue(9));
}

WIFITICKETER_TEST(RegFileTest)
#include "regfiletest.moc"
