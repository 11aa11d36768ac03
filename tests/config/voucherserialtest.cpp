#include "testfolder.h"
#include "testmain.h"

#include "base/settingskey.h"
#include "config/voucherserial.h"

#include <QTest>

using namespace Qt::StringLiterals;

using State = StoredVoucherSerial::State;
Q_DECLARE_METATYPE(State)
Q_DECLARE_METATYPE(std::optional<QByteArray>)

namespace {

// A settings file as a person or a damaged disk may leave it: the key with
// these lines.
QByteArray settingsText(const QByteArray &lines)
{
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer]\r\n"
           "\"UseCurrency\"=\"R$ %c\"\r\n" +
           lines;
}

} // namespace

class VoucherSerialTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stored_data();
    void stored();
};

void VoucherSerialTest::stored_data()
{
    QTest::addColumn<std::optional<QByteArray>>("file"); // none: no settings file
    QTest::addColumn<State>("state");
    QTest::addColumn<quint32>("value");

    const auto file = [](const QByteArray &lines) { return std::optional<QByteArray>(settingsText(lines)); };
    QTest::addRow("a DWORD") << file("\"VoucherSerial\"=dword:0000000b\r\n") << State::Held << 11u;
    QTest::addRow("a DWORD in hex form")
        << file("\"VoucherSerial\"=hex(4):0b,00,00,00\r\n") << State::Held << 11u;
    QTest::addRow("name in other case") << file("\"voucherserial\"=dword:0000000b\r\n") << State::Held << 11u;
    // Fewer digits are a smaller number, as the format reads them; the floor
    // catches one that fell below the serials given.
    QTest::addRow("digits cut short") << file("\"VoucherSerial\"=dword:0000") << State::Held << 0u;

    QTest::addRow("no settings file") << std::optional<QByteArray>() << State::Missing << 0u;
    QTest::addRow("line removed") << file("") << State::Missing << 0u;
    QTest::addRow("deleted") << file("\"VoucherSerial\"=-\r\n") << State::Missing << 0u;
    QTest::addRow("another key only")
        << std::optional<QByteArray>(
               "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n"
               "\"VoucherSerial\"=dword:0000000b\r\n")
        << State::Missing << 0u;

    QTest::addRow("a digit turned into g")
        << file("\"VoucherSerial\"=dword:0000000g\r\n") << State::Unreadable << 0u;
    QTest::addRow("cut in the type") << file("\"VoucherSerial\"=dwo") << State::Unreadable << 0u;
    QTest::addRow("cut after the name") << file("\"VoucherSerial\"") << State::Unreadable << 0u;
    QTest::addRow("nine digits") << file("\"VoucherSerial\"=dword:00000000b\r\n") << State::Unreadable << 0u;
    // The settings' rules would read the first 4 bytes of these.
    QTest::addRow("a text") << file("\"VoucherSerial\"=\"12\"\r\n") << State::Unreadable << 0u;
    QTest::addRow("binary of 4 bytes")
        << file("\"VoucherSerial\"=hex:0b,00,00,00\r\n") << State::Unreadable << 0u;
    QTest::addRow("a DWORD of 2 bytes")
        << file("\"VoucherSerial\"=hex(4):0b,00\r\n") << State::Unreadable << 0u;
    QTest::addRow("a QWORD") << file("\"VoucherSerial\"=hex(b):0b,00,00,00,00,00,00,00\r\n")
                             << State::Unreadable << 0u;
    // The last line naming the value gives it, as a later line wins.
    QTest::addRow("damaged after a number")
        << file("\"VoucherSerial\"=dword:0000000b\r\n\"VoucherSerial\"=dword:0000000g\r\n")
        << State::Unreadable << 0u;
    QTest::addRow("a number after a damaged line")
        << file("\"VoucherSerial\"=dword:0000000g\r\n\"VoucherSerial\"=dword:00000002\r\n") << State::Held
        << 2u;
}

void VoucherSerialTest::stored()
{
    QFETCH(std::optional<QByteArray>, file);
    QFETCH(State, state);
    QFETCH(quint32, value);
    TestFolder folder;
    if (file)
        folder.writeSettings(*file);
    const StoredVoucherSerial stored = readStoredVoucherSerial(SettingsKey(folder.settingsFile()));
    QCOMPARE(stored.state, state);
    QCOMPARE(stored.value, value);
}

WIFITICKETER_TEST(VoucherSerialTest)
#include "voucherserialtest.moc"
