#include "filebytes.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/regfile.h"
#include "base/settingskey.h"

#include <QFile>
#include <QStringEncoder>
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

QByteArray encoded(QStringConverter::Encoding encoding, const QString &text)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

// A registry export in Windows-1252 that runs past `size` bytes: the key, then
// comment lines.
QByteArray paddedRegFile(qsizetype size)
{
    QByteArray bytes = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\r\n"
                       "\"VoucherSerial\"=dword:00000005\r\n";
    const QByteArray comment = "; " + QByteArray(75, 'x') + "\r\n";
    bytes.reserve(size + comment.size());
    while (bytes.size() < size)
        bytes += comment;
    bytes.truncate(size);
    return bytes;
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
    void damagedValues_data();
    void damagedValues();
    void writtenLayout();
    void roundTrip();
    void keyKeepsUnknownValues();
    void encodings_data();
    void encodings();
    void regedit4TypedText();
    void unrecognised_data();
    void unrecognised();
    void nameWithLineBreakRefused();
    void changesInPlace_data();
    void changesInPlace();
    void keyKeepsWhatItDoesNotKnow();
    void keyLeavesFilesItCannotRead_data();
    void keyLeavesFilesItCannotRead();
    void fileAtSizeLimitIsRead();
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

void RegFileTest::damagedValues_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("damaged");
    QTest::addColumn<RegKeyValues>("values");

    const RegKeyValues none;
    const RegKeyValues a = {{u"A"_s, dwordValue(10)}};
    QTest::addRow("readable") << u"\"A\"=dword:0000000a\n"_s << QStringList() << a;
    QTest::addRow("a digit that is no hex digit")
        << u"\"A\"=dword:0000000g\n"_s << QStringList{u"A"_s} << none;
    QTest::addRow("too many digits") << u"\"A\"=dword:000000001\n"_s << QStringList{u"A"_s} << none;
    QTest::addRow("cut in the type") << u"\"A\"=dwo"_s << QStringList{u"A"_s} << none;
    QTest::addRow("cut after the name") << u"\"A\""_s << QStringList{u"A"_s} << none;
    QTest::addRow("unended text") << u"\"A\"=\"abc\n"_s << QStringList{u"A"_s} << none;
    QTest::addRow("hex with a bad byte") << u"\"A\"=hex:01,zz\n"_s << QStringList{u"A"_s} << none;
    QTest::addRow("the default value") << u"@=dword:\n"_s << QStringList{QString()} << none;
    // The last line naming the value tells.
    QTest::addRow("readable after damaged")
        << u"\"A\"=dword:zz\n\"A\"=dword:0000000a\n"_s << QStringList() << a;
    QTest::addRow("damaged after readable")
        << u"\"A\"=dword:0000000a\n\"a\"=dword:zz\n"_s << QStringList{u"a"_s} << a;
    QTest::addRow("deleted after damaged") << u"\"A\"=dword:zz\n\"A\"=-\n"_s << QStringList() << none;
    // Lines that name no value.
    QTest::addRow("name cut short") << u"\"A\"=dword:0000000a\n\"Vouch"_s << QStringList() << a;
    QTest::addRow("comment and junk") << u"; \"A\"=x\njunk\n\"A\"=dword:0000000a\n"_s << QStringList() << a;
    QTest::addRow("damaged in another key")
        << u"\"A\"=dword:0000000a\n\n[HKEY_CURRENT_USER\\Other]\n\"B\"=dword:zz\n"_s << QStringList() << a;
}

// What reads as missing because its line is damaged is told apart from what
// is not there.
void RegFileTest::damagedValues()
{
    QFETCH(QString, body);
    QFETCH(QStringList, damaged);
    QFETCH(RegKeyValues, values);
    const RegFile file(regFile(body));
    QCOMPARE(file.damagedValues(Key), damaged);
    QCOMPARE(file.keyValues(Key), std::optional<RegKeyValues>(values));

    // The settings key gives both from one reading.
    TestFolder folder;
    folder.writeSettings(regFile(body));
    QStringList fromKey{u"stale"_s};
    QCOMPARE(SettingsKey(folder.settingsFile()).read(&fromKey), std::optional<RegKeyValues>(values));
    QCOMPARE(fromKey, damaged);
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

void RegFileTest::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<RegFileEncoding>("encoding");
    QTest::addColumn<bool>("regedit4");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<quint32>("serial");

    QTest::addRow("UTF-16LE without byte-order mark")
        << fixture(u"settings-utf16le-nobom.reg"_s) << RegFileEncoding::Utf16LE << false << u"ñandú"_s << 99u;
    QTest::addRow("UTF-16BE with byte-order mark")
        << fixture(u"settings-utf16be.reg"_s) << RegFileEncoding::Utf16BE << false << u"ñandú"_s << 99u;
    QTest::addRow("UTF-16BE without byte-order mark")
        << fixture(u"settings-utf16be-nobom.reg"_s) << RegFileEncoding::Utf16BE << false << u"ñandú"_s << 99u;
    QTest::addRow("UTF-16LE with byte-order mark, exported by regedit")
        << fixture(u"settings-export-utf16.reg"_s) << RegFileEncoding::Utf16LE << false << u"um"_s << 123456u;
    QTest::addRow("REGEDIT4 in Windows-1252")
        << fixture(u"settings-regedit4.reg"_s) << RegFileEncoding::Windows1252 << true << u"açaí"_s << 16u;
    QTest::addRow("REGEDIT4 with the bytes Windows-1252 gives other characters")
        << QByteArray("REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"
                      "\"GenerateUserPrefix\"=\"\x80\x8a\x9f\xa0\xff\x81\"\n\"VoucherSerial\"=dword:1\n")
        << RegFileEncoding::Windows1252 << true << u"€ŠŸ\u00a0ÿ\u0081"_s << 1u;
    QTest::addRow("version 5 in UTF-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n"
                      "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"
                      "\"GenerateUserPrefix\"=\"\xC3\xA7\"\n\"VoucherSerial\"=dword:2\n")
        << RegFileEncoding::Utf8 << false << u"ç"_s << 2u;
    QTest::addRow("version 5 in UTF-8 after blank lines")
        << QByteArray("\r\n \nWindows Registry Editor Version 5.00\n"
                      "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n"
                      "\"GenerateUserPrefix\"=\"\xE2\x82\xB9\"\n\"VoucherSerial\"=dword:3\n")
        << RegFileEncoding::Utf8 << false << u"₹"_s << 3u;
}

void RegFileTest::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(RegFileEncoding, encoding);
    QFETCH(bool, regedit4);
    QFETCH(QString, prefix);
    QFETCH(quint32, serial);
    const RegFile file(bytes);
    QVERIFY(file.isRecognised());
    QCOMPARE(file.encoding(), encoding);
    QCOMPARE(file.isRegedit4(), regedit4);
    const std::optional<RegKeyValues> key = file.keyValues(Key);
    QVERIFY(key);
    QCOMPARE(*findRegValue(*key, u"GenerateUserPrefix"_s), stringValue(prefix));
    QCOMPARE(*findRegValue(*key, u"VoucherSerial"_s), dwordValue(serial));
    // Read and not changed, the file is the same bytes.
    QCOMPARE(file.toBytes(), bytes);
}

void RegFileTest::regedit4TypedText()
{
    // regedit 4 gives typed texts as 8-bit bytes; the value is the UTF-16LE text.
    const RegFile file(fixture(u"settings-regedit4.reg"_s));
    const std::optional<RegKeyValues> sub = file.keyValues(Key + u"\\Caminhos"_s);
    QVERIFY(sub);
    QCOMPARE(*findRegValue(*sub, u"Modelos"_s),
             (RegValue{RegExpandString, utf16le(u"%USERPROFILE%\\cartão\0"_s)}));
}

void RegFileTest::unrecognised_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QString text = u"Windows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\r\n\"A\"=\"b\"\r\n"_s;
    QTest::addRow("UTF-32LE with byte-order mark") << fixture(u"settings-utf32.reg"_s);
    QTest::addRow("UTF-32BE with byte-order mark")
        << QByteArray("\x00\x00\xFE\xFF", 4) + encoded(QStringConverter::Utf32BE, text);
    QTest::addRow("UTF-32LE without byte-order mark") << encoded(QStringConverter::Utf32LE, text);
    QTest::addRow("UTF-32BE without byte-order mark") << encoded(QStringConverter::Utf32BE, text);
    QTest::addRow("random bytes") << fixture(u"settings-random.bin"_s);
    QTest::addRow("UTF-16 cut in the middle of a character")
        << encoded(QStringConverter::Utf16LE, text).chopped(1);
    QTest::addRow("no header") << QByteArray(
        "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n\"A\"=\"b\"\n");
    QTest::addRow("text before the header")
        << QByteArray("settings\nWindows Registry Editor Version 5.00\n"
                      "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n\"A\"=\"b\"\n");
    QTest::addRow("another header") << QByteArray(
        "Windows Registry Editor Version 6.00\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n");
}

void RegFileTest::unrecognised()
{
    QFETCH(QByteArray, bytes);
    RegFile file(bytes);
    QVERIFY(!file.isRecognised());
    QVERIFY(!file.keyValues(Key));
    QVERIFY(!file.setValues(Key, {{u"A"_s, stringValue(u"c"_s)}}));
    QCOMPARE(file.toBytes(), bytes);
}

void RegFileTest::nameWithLineBreakRefused()
{
    // The format has no way to write such a name: nothing is changed.
    const QByteArray bytes = regFile(u"\"A\"=\"1\"\n"_s);
    RegFile file(bytes);
    QVERIFY(!file.setValues(Key, {{u"A"_s, stringValue(u"2"_s)}, {u"B\nC"_s, dwordValue(1)}}));
    QCOMPARE(file.toBytes(), bytes);
}

void RegFileTest::changesInPlace_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<RegKeyValues>("values");
    QTest::addColumn<QByteArray>("after");

    const QByteArray key = "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]";
    const QByteArray v5 = "Windows Registry Editor Version 5.00";

    QTest::addRow("changed value where it stood, new value after the key's last value")
        << v5 + "\n\n; comment\n" + key + "\n\"A\"=\"1\"\njunk line\n\"B\"=dword:00000002\n\n" +
               key.chopped(1) + "\\Sub]\n\"A\"=\"sub\"\n"
        << RegKeyValues{{u"A"_s, stringValue(u"2"_s)}, {u"C"_s, dwordValue(3)}}
        << v5 + "\n\n; comment\n" + key +
               "\n\"A\"=\"2\"\njunk line\n\"B\"=dword:00000002\n\"C\"=dword:00000003\n\n" + key.chopped(1) +
               "\\Sub]\n\"A\"=\"sub\"\n";
    QTest::addRow("CRLF line ends, last line not ended")
        << v5 + "\r\n\r\n" + key + "\r\n\"A\"=\"1\"" << RegKeyValues{{u"B"_s, stringValue(u"x"_s)}}
        << v5 + "\r\n\r\n" + key + "\r\n\"A\"=\"1\"\r\n\"B\"=\"x\"\r\n";
    QTest::addRow("a value as stored keeps its line, a changed one its name")
        << v5 + "\n" + key + "\n\"N\"=DWORD:0000000A\n\"size\"=dword:1\n"
        << RegKeyValues{{u"n"_s, dwordValue(10)}, {u"Size"_s, dwordValue(2)}}
        << v5 + "\n" + key + "\n\"N\"=DWORD:0000000A\n\"size\"=dword:00000002\n";
    // The key holds a value once: the line that gives it takes the new data,
    // the lines it overrode go.
    QTest::addRow("the later of two lines is replaced, the earlier goes")
        << v5 + "\n" + key + "\n\"A\"=\"1\"\n\"Z\"=\"z\"\n\"a\"=\"2\"\n; end\n"
        << RegKeyValues{{u"A"_s, stringValue(u"3"_s)}}
        << v5 + "\n" + key + "\n\"Z\"=\"z\"\n\"a\"=\"3\"\n; end\n";
    QTest::addRow("a deleted value comes back in its deletion's place")
        << v5 + "\n" + key + "\n\"A\"=\"1\"\n\"A\"=-\n; end\n"
        << RegKeyValues{{u"A"_s, stringValue(u"2"_s)}} << v5 + "\n" + key + "\n\"A\"=\"2\"\n; end\n";
    QTest::addRow("a twice given value of a key given twice")
        << v5 + "\n" + key + "\n\"A\"=\"1\"\n\n[HKEY_CURRENT_USER\\Other]\n\"A\"=\"o\"\n\n" + key +
               "\n\"A\"=\"2\"\n"
        << RegKeyValues{{u"A"_s, stringValue(u"3"_s)}}
        << v5 + "\n" + key + "\n\n[HKEY_CURRENT_USER\\Other]\n\"A\"=\"o\"\n\n" + key + "\n\"A\"=\"3\"\n";
    // A line naming the value whose data cannot be read is that value's line:
    // it is replaced where it stood. Lines naming nothing stay as they are.
    QTest::addRow("a value's line with a digit that is no hex digit")
        << v5 + "\n" + key + "\n\"C\"=dword:0000000g\njunk\n\"D\"=\"d\"\n"
        << RegKeyValues{{u"C"_s, dwordValue(1)}}
        << v5 + "\n" + key + "\n\"C\"=dword:00000001\njunk\n\"D\"=\"d\"\n";
    QTest::addRow("a value's line without data")
        << v5 + "\n" + key + "\n\"C\"=\n\"D\"\n"
        << RegKeyValues{{u"C"_s, dwordValue(1)}, {u"D"_s, dwordValue(2)}}
        << v5 + "\n" + key + "\n\"C\"=dword:00000001\n\"D\"=dword:00000002\n";
    QTest::addRow("a value's line cut short at the end of the file")
        << v5 + "\r\n" + key + "\r\n\"D\"=\"d\"\r\n\"C\"=dwo" << RegKeyValues{{u"C"_s, dwordValue(1)}}
        << v5 + "\r\n" + key + "\r\n\"D\"=\"d\"\r\n\"C\"=dword:00000001";
    QTest::addRow("a damaged line and the line an older writer added after it")
        << v5 + "\n" + key + "\n\"C\"=dword:zz\n\"D\"=\"d\"\n\"C\"=dword:00000005\n"
        << RegKeyValues{{u"C"_s, dwordValue(6)}} << v5 + "\n" + key + "\n\"D\"=\"d\"\n\"C\"=dword:00000006\n";
    QTest::addRow("a name cut short names no value and stays")
        << v5 + "\n" + key + "\n\"D\"=\"d\"\n\"Vouch\n"
        << RegKeyValues{{u"VoucherSerial"_s, dwordValue(1)}}
        << v5 + "\n" + key + "\n\"D\"=\"d\"\n\"Vouch\n\"VoucherSerial\"=dword:00000001\n";
    QTest::addRow("a damaged line of another key stays")
        << v5 + "\n" + key + "\n\"D\"=\"d\"\n\n[HKEY_CURRENT_USER\\Other]\n\"C\"=dword:zz\n"
        << RegKeyValues{{u"C"_s, dwordValue(1)}}
        << v5 + "\n" + key +
               "\n\"D\"=\"d\"\n\"C\"=dword:00000001\n\n[HKEY_CURRENT_USER\\Other]\n\"C\"=dword:zz\n";
    QTest::addRow("key given twice: its last section")
        << v5 + "\n\n" + key + "\n\"A\"=\"1\"\n\n[HKEY_CURRENT_USER\\Other]\n\"B\"=\"o\"\n\n" + key +
               "\n\"B\"=\"2\"\n\n"
        << RegKeyValues{{u"A"_s, stringValue(u"x"_s)}, {u"C"_s, stringValue(u"y"_s)}}
        << v5 + "\n\n" + key + "\n\"A\"=\"x\"\n\n[HKEY_CURRENT_USER\\Other]\n\"B\"=\"o\"\n\n" + key +
               "\n\"B\"=\"2\"\n\"C\"=\"y\"\n\n";
    // The key given twice, a damaged line in its first section: each changed
    // value ends up on the one line that gave it (so the key's values may then
    // read in another order), the lines it overrode go, the rest stays.
    const QByteArray other = "[HKEY_CURRENT_USER\\Other]\n\"MikrotikAddress\"=\"o\"\n";
    QTest::addRow("key given twice, a damaged line in its first section")
        << v5 + "\n\n" + key +
               "\n"
               "\"MikrotikAddress\"=\"10.0.0.1\"\n"
               "\"MikrotikUser\"=hex:ff,f3,zz\n"
               "itor Version 5.00\n"
               "\"MikrotikApiPort\"=\"8000\"\n\n" +
               other + "\n" + key +
               "\n"
               "\"mikrotikaddress\"=\"10.0.0.2\"\n"
               "\"MikrotikUser\"=hex:ff,f3\n"
               "\"MikrotikPassword\"=hex:ff,fd1\n"
        << RegKeyValues{{u"MikrotikAddress"_s, stringValue(u"10.0.0.3"_s)},
                        {u"MikrotikUser"_s, binaryValue("\x01")},
                        {u"MikrotikPassword"_s, binaryValue("\x02")},
                        {u"New"_s, dwordValue(1)}}
        << v5 + "\n\n" + key +
               "\n"
               "itor Version 5.00\n"
               "\"MikrotikApiPort\"=\"8000\"\n\n" +
               other + "\n" + key +
               "\n"
               "\"mikrotikaddress\"=\"10.0.0.3\"\n"
               "\"MikrotikUser\"=hex:01\n"
               "\"MikrotikPassword\"=hex:02\n"
               "\"New\"=dword:00000001\n";
    QTest::addRow("wrapped value replaced by a short one")
        << v5 + "\n" + key + "\n\"B\"=hex:01,02,\\\n  03\n\"Z\"=\"z\"\n"
        << RegKeyValues{{u"B"_s, binaryValue("\xff")}} << v5 + "\n" + key + "\n\"B\"=hex:ff\n\"Z\"=\"z\"\n";
    QTest::addRow("missing key added at the end")
        << v5 + "\n\n[HKEY_CURRENT_USER\\Other]\n\"B\"=\"o\"" << RegKeyValues{{u"C"_s, dwordValue(3)}}
        << v5 + "\n\n[HKEY_CURRENT_USER\\Other]\n\"B\"=\"o\"\n\n" + key + "\n\"C\"=dword:00000003\n\n";
    QTest::addRow("empty file") << QByteArray() << RegKeyValues{{u"C"_s, dwordValue(3)}}
                                << v5 + "\n\n" + key + "\n\"C\"=dword:00000003\n\n";
    QTest::addRow("blank file") << QByteArray("\n \n") << RegKeyValues{{u"C"_s, dwordValue(3)}}
                                << v5 + "\n\n" + key + "\n\"C\"=dword:00000003\n\n";
    QTest::addRow("bytes that are not UTF-8 stay as they were")
        << v5 + "\n" + key + "\n; caf\xe9\n\"P\"=\"\xff\xfe\"\n\"Q\"=\"q\"\n"
        << RegKeyValues{{u"Q"_s, stringValue(u"ç"_s)}}
        << v5 + "\n" + key + "\n; caf\xe9\n\"P\"=\"\xff\xfe\"\n\"Q\"=\"\xc3\xa7\"\n";
    QTest::addRow("UTF-8 byte-order mark kept")
        << "\xEF\xBB\xBF" + v5 + "\n" + key + "\n"
        << RegKeyValues{{u"Q"_s, stringValue(u"ç"_s)}}
        << "\xEF\xBB\xBF" + v5 + "\n" + key + "\n\"Q\"=\"\xc3\xa7\"\n";

    const QByteArray r4 = "REGEDIT4";
    QTest::addRow("REGEDIT4 stays in Windows-1252")
        << r4 + "\r\n\r\n" + key + "\r\n\"P\"=\"a\xe7\"\r\n\"R\"=\"\"\r\n"
        << RegKeyValues{{u"P"_s, stringValue(u"ç€"_s)}, {u"Q"_s, stringValue(u"é"_s)}}
        << r4 + "\r\n\r\n" + key + "\r\n\"P\"=\"\xe7\x80\"\r\n\"R\"=\"\"\r\n\"Q\"=\"\xe9\"\r\n";
    QTest::addRow("REGEDIT4 gives typed texts in 8 bits")
        << r4 + "\n" + key + "\n"
        << RegKeyValues{{u"X"_s, RegValue{RegExpandString, utf16le(u"a\u00e7\0"_s)}},
                        {u"T"_s, RegValue{RegString, utf16le(u"a\nb\0"_s)}}}
        << r4 + "\n" + key + "\n\"X\"=hex(2):61,e7,00\n\"T\"=hex(1):61,0a,62,00\n";
    // The file becomes version 5.00 in UTF-8 with every value: texts given in
    // 8 bits are written again as UTF-16LE, other lines keep their text.
    QTest::addRow("REGEDIT4 taking a character it lacks becomes version 5.00")
        << r4 + "\r\n\r\n; caf\xe9\r\n" + key + "\r\n\"P\"=\"a\xe7\"\r\n\"B\"=hex:e7\r\n\r\n" +
               key.chopped(1) + "\\Sub]\r\n\"M\"=hex(2):e7,00\r\n"
        << RegKeyValues{{u"R"_s, stringValue(u"₹"_s)}}
        << v5 + "\r\n\r\n; caf\xc3\xa9\r\n" + key +
               "\r\n\"P\"=\"a\xc3\xa7\"\r\n\"B\"=hex:e7\r\n\"R\"=\"\xe2\x82\xb9\"\r\n\r\n" + key.chopped(1) +
               "\\Sub]\r\n\"M\"=hex(2):e7,00,00,00\r\n";

    const QString text16 = u"Windows Registry Editor Version 5.00\r\n\r\n"
                           "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\r\n\"A\"=\"ñ\"\r\n"_s;
    const QString after16 = text16 + u"\"B\"=\"€\"\r\n"_s;
    const RegKeyValues b = {{u"B"_s, stringValue(u"€"_s)}};
    QTest::addRow("UTF-16LE without byte-order mark")
        << encoded(QStringConverter::Utf16LE, text16) << b << encoded(QStringConverter::Utf16LE, after16);
    QTest::addRow("UTF-16BE with byte-order mark")
        << "\xFE\xFF" + encoded(QStringConverter::Utf16BE, text16) << b
        << "\xFE\xFF" + encoded(QStringConverter::Utf16BE, after16);
    QTest::addRow("UTF-16BE without byte-order mark")
        << encoded(QStringConverter::Utf16BE, text16) << b << encoded(QStringConverter::Utf16BE, after16);
}

void RegFileTest::changesInPlace()
{
    QFETCH(QByteArray, before);
    QFETCH(RegKeyValues, values);
    QFETCH(QByteArray, after);
    RegFile file(before);
    QVERIFY(file.setValues(Key, values));
    QCOMPARE(file.toBytes(), after);
    // The same values again change nothing.
    RegFile again(after);
    QVERIFY(again.setValues(Key, values));
    QCOMPARE(again.toBytes(), after);
}

void RegFileTest::keyKeepsWhatItDoesNotKnow()
{
    TestFolder folder;
    folder.writeSettings(fixture(u"settings-kept.reg"_s));
    QFile::setPermissions(folder.settingsFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ReadGroup | QFileDevice::ReadOther);
    SettingsKey key(folder.settingsFile());
    QVERIFY(key.write({{u"GenerateUserPrefix"_s, stringValue(u"outro"_s)}, {u"Novo"_s, dwordValue(1)}}));
    const QByteArray expected =
        QByteArray(fixture(u"settings-kept.reg"_s))
            .replace("\"GenerateUserPrefix\"=\"velho\"", "\"GenerateUserPrefix\"=\"outro\"")
            .replace("\"AutoPrint\"=dword:00000000\r\n",
                     "\"AutoPrint\"=dword:00000000\r\n\"Novo\"=dword:00000001\r\n");
    QCOMPARE(readFile(folder.settingsFile()), expected);
    QCOMPARE(permissionBits(folder.settingsFile()), 0600);
}

void RegFileTest::keyLeavesFilesItCannotRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("UTF-32") << fixture(u"settings-utf32.reg"_s);
    QTest::addRow("random bytes") << fixture(u"settings-random.bin"_s);
    QTest::addRow("no header") << QByteArray("[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\n");
    // Larger than the reader takes (1 MiB), though a registry export.
    QTest::addRow("over the size limit") << paddedRegFile(1024 * 1024 + 1);
}

void RegFileTest::keyLeavesFilesItCannotRead()
{
    QFETCH(QByteArray, bytes);
    TestFolder folder;
    folder.writeSettings(bytes);
    SettingsKey key(folder.settingsFile());
    QVERIFY(key.isUnreadable());
    QVERIFY(!key.read());
    QVERIFY(!key.write({{u"VoucherSerial"_s, dwordValue(9)}}));
    QVERIFY(readFile(folder.settingsFile()) == bytes);
}

void RegFileTest::fileAtSizeLimitIsRead()
{
    TestFolder folder;
    const QByteArray bytes = paddedRegFile(1024 * 1024);
    folder.writeSettings(bytes);
    const SettingsKey key(folder.settingsFile());
    QVERIFY(!key.isUnreadable());
    const std::optional<RegKeyValues> values = key.read();
    QVERIFY(values);
    QCOMPARE(*findRegValue(*values, u"VoucherSerial"_s), dwordValue(5));

    // A change that keeps the size is written; one that would make the file
    // too large to read back is not.
    QVERIFY(key.write({{u"VoucherSerial"_s, dwordValue(6)}}));
    QByteArray expected = bytes;
    expected.replace("dword:00000005", "dword:00000006");
    QVERIFY(readFile(folder.settingsFile()) == expected);
    QVERIFY(!key.write({{u"AutoPrint"_s, dwordValue(0)}}));
    QVERIFY(readFile(folder.settingsFile()) == expected);
}

WIFITICKETER_TEST(RegFileTest)
#include "regfiletest.moc"
