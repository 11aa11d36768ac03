#include "clirun.h"
#include "clisimulator.h"
#include "filebytes.h"
#include "recordbytes.h"
#include "runrecorder.h"
#include "scriptedinteraction.h"
#include "testfolder.h"
#include "testmain.h"

#include "config/hotspotprofilesfile.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"
#include "history/openhistory.h"

#include <QDateTime>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The columns of "history --format csv".
enum Column
{
    UserColumn = 0,
    PasswordColumn = 1,
    ProfileColumn = 2,
    FirstNameColumn = 8,
    LastNameColumn = 9,
    PhoneColumn = 10,
    LocationColumn = 11,
    CommentColumn = 12,
    EmailColumn = 13,
    ColumnCount = 14
};

// CSV text cut into lines and cells as a spreadsheet reads it, each cell kept
// exactly as written (quotes included): commas and CR LF end cells and lines
// outside quotes only.
QList<QStringList> csvCells(const QString &text)
{
    QList<QStringList> lines;
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        if (!quoted && c == u',') {
            cells.append(cell);
            cell.clear();
        } else if (!quoted && c == u'\r' && text.mid(i + 1, 1) == u"\n") {
            cells.append(cell);
            lines.append(cells);
            cells.clear();
            cell.clear();
            ++i;
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !cells.isEmpty())
        lines.append(cells + QStringList{cell});
    return lines;
}

// The sentences the simulator received, logins included, from the log it
// writes beside its state (see SimProcess); empty when nothing came.
QByteArray simulatorLog(const TestFolder &folder)
{
    QFile file(folder.path() + u"/sim-log.jsonl"_s);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class HostileTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void csvCellsStayText_data();
    void csvCellsStayText();
    void voucherTextsReachCsvAsText();
    void givenNameRefused_data();
    void givenNameRefused();
    void damagedRoutersFileIsReported_data();
    void damagedRoutersFileIsReported();
    void unreadableSettingsAreReported_data();
    void unreadableSettingsAreReported();
};

// History rows stored as the program stores them, one odd text in one
// column; the CSV cell must read as text in a spreadsheet, quoted where the
// CSV needs it.
void HostileTextTest::csvCellsStayText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cell"); // as written in the CSV

    QTest::addRow("formula in the user name") << int(UserColumn) << u"=1+1"_s << u"'=1+1"_s;
    QTest::addRow("formula with a comma") << int(CommentColumn) << u"=HYPERLINK(\"http://x\",\"y\")"_s
                                          << u"\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""_s;
    QTest::addRow("plus") << int(FirstNameColumn) << u"+55 11 5555"_s << u"'+55 11 5555"_s;
    QTest::addRow("minus") << int(LastNameColumn) << u"-2+3"_s << u"'-2+3"_s;
    QTest::addRow("at sign") << int(EmailColumn) << u"@SUM(1+1)"_s << u"'@SUM(1+1)"_s;
    QTest::addRow("tab first") << int(PhoneColumn) << u"\t=1+1"_s << u"'\t=1+1"_s;
    QTest::addRow("carriage return first") << int(LocationColumn) << u"\r=1+1"_s << u"\"'\r=1+1\""_s;
    QTest::addRow("password") << int(PasswordColumn) << u"=x"_s << u"'=x"_s;
    // Only the first character counts.
    QTest::addRow("sign inside") << int(CommentColumn) << u"quarto =12"_s << u"quarto =12"_s;
    QTest::addRow("plain text with a comma")
        << int(CommentColumn) << u"quarto 12, bloco B"_s << u"\"quarto 12, bloco B\""_s;
    QTest::addRow("empty") << int(CommentColumn) << QString() << QString();
}

void HostileTextTest::csvCellsStayText()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, cell);
    TestFolder folder;
    QVERIFY(install(folder, 8728));

    auto profile = std::make_shared<VoucherProfile>();
    profile->Name = u"1dia"_s;
    profile->Title = u"1 dia"_s;
    profile->Validity = u"1d"_s;
    VoucherRecord record;
    record.Profile = profile;
    record.UserName = u"ana"_s;
    record.Password = u"segredo"_s;
    record.Generator = u"caixa"_s;
    record.Created = QDateTime::currentSecsSinceEpoch();
    record.Serial = 7;
    QString *fields[ColumnCount] = {};
    fields[UserColumn] = &record.UserName;
    fields[PasswordColumn] = &record.Password;
    fields[FirstNameColumn] = &record.FirstName;
    fields[LastNameColumn] = &record.LastName;
    fields[PhoneColumn] = &record.Phone;
    fields[LocationColumn] = &record.Location;
    fields[CommentColumn] = &record.Comment;
    fields[EmailColumn] = &record.Email;
    QVERIFY(fields[column]);
    *fields[column] = text;
    bool warningShown = false;
    ScriptedInteraction interaction;
    BatchList batch{record};
    QVERIFY(recordAsRun(batch, u"Sim"_s, {QString(), folder.dataFolder()}, folder.settingsFile(),
                        warningShown, interaction));
    QVERIFY(interaction.events.isEmpty());

    const CliRun run = runCli(folder, Operator + QStringList{u"history"_s, u"--format"_s, u"csv"_s});
    QCOMPARE(run.exitCode, 0);
    const QList<QStringList> lines = csvCells(run.out);
    QCOMPARE(lines.size(), 3); // captions, the row, the totals line
    QCOMPARE(lines[0].size(), int(ColumnCount));
    const QStringList &row = lines[1];
    QCOMPARE(row.size(), int(ColumnCount));
    QCOMPARE(row[column], cell);
    // The other cells are as they were.
    QCOMPARE(row[ProfileColumn], u"1 dia"_s);
    if (column != UserColumn)
        QCOMPARE(row[UserColumn], u"ana"_s);
    if (column != PasswordColumn)
        QCOMPARE(row[PasswordColumn], u"segredo"_s);
    QCOMPARE(row[3], u"000000007"_s);
}

// Texts of a real run reach the history and its CSV: a hotspot profile titled
// like a formula and a given name that starts like one.
void HostileTextTest::voucherTextsReachCsvAsText()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    HotSpotProfile formula;
    formula.Name = u"=1+1"_s;
    formula.Validity = 3600;
    formula.RouterProfile = u"default"_s;
    formula.Price = 100;
    ScriptedInteraction interaction;
    QVERIFY(saveHotSpotProfiles(folder.dataFolder(), {formula}, interaction));

    const CliRun made = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                              u"=1+1"_s, u"--name"_s, u"@ana"_s});
    QCOMPARE(made.exitCode, 0);
    QVERIFY2(made.out.startsWith(u"@ana\t"_s), qPrintable(made.out));

    const CliRun run = runCli(folder, Operator + QStringList{u"history"_s, u"--format"_s, u"csv"_s});
    QCOMPARE(run.exitCode, 0);
    const QList<QStringList> lines = csvCells(run.out);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1].value(UserColumn), u"'@ana"_s);
    QCOMPARE(lines[1].value(ProfileColumn), u"'=1+1"_s);
    QCOMPARE(lines[1].value(5), u"Sim"_s);
}

void HostileTextTest::givenNameRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");

    const QString control = u"O nome de usuário não pode conter caracteres de controle."_s;
    QTest::addRow("line feed") << u"a\nb"_s << control;
    QTest::addRow("carriage return") << u"ana\r"_s << control;
    QTest::addRow("tab") << u"a\tb"_s << control;
    QTest::addRow("terminal escape") << u"\x1b[2Jana"_s << control;
    QTest::addRow("right-to-left override") << u"ana\u202Etxt.exe"_s << control;
    QTest::addRow("longer than the history column")
        << QString(51, u'a') << u"O nome de usuário pode ter no máximo 50 caracteres."_s;
}

void HostileTextTest::givenNameRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const routersim::RouterState before = sim.state();

    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 horas"_s, u"--name"_s, name});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, message + u'\n');
    QVERIFY(run.out.isEmpty());
    // Nothing reached the router, not even a login.
    QCOMPARE(simulatorLog(folder), QByteArray());
    QCOMPARE(sim.state().hotspotUsers.size(), before.hotspotUsers.size());
    QVERIFY(!QFile::exists(folder.dataFolder() + u"/PosHistory.bin"_s));
}

// A Routers.bin that holds bytes but no router is told and left alone; every
// command needs the routers, so each stops there.
void HostileTextTest::damagedRoutersFileIsReported_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addRow("routers") << QStringList{u"routers"_s};
    QTest::addRow("generate") << Operator + QStringList{u"--no"_s,    u"generate"_s, u"--profile"_s,
                                                        u"3 horas"_s, u"--count"_s,  u"1"_s};
    QTest::addRow("history") << Operator + QStringList{u"history"_s};
}

void HostileTextTest::damagedRoutersFileIsReported()
{
    QFETCH(QStringList, arguments);
    TestFolder folder;
    QVERIFY(install(folder, 8728));
    // The size of the first record broken: nothing can be read.
    const QByteArray damaged = withU32(folder.readDataFile(u"Routers.bin"_s), 0, 0xFFFFFFFF);
    folder.writeDataFile(u"Routers.bin"_s, damaged);

    const CliRun run = runCli(folder, arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err,
             u"Não foi possível ler a lista de roteadores.\nO arquivo %1/Routers.bin foi mantido como "
             u"está.\n"_s.arg(folder.dataFolder()));
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), damaged);

    // An empty file is no damage: the routers of the first start are listed.
    folder.writeDataFile(u"Routers.bin"_s, QByteArray());
    const CliRun seeded = runCli(folder, {u"routers"_s});
    QCOMPARE(seeded.exitCode, 0);
    QVERIFY2(seeded.out.startsWith(u"127.0.0.1\t127.0.0.1\t8728\tadmin\t"_s), qPrintable(seeded.out));
    QCOMPARE(folder.readDataFile(u"Routers.bin"_s), QByteArray());
}

// A settings file the program cannot read (here UTF-32, which regedit never
// writes) is told and left alone: no command runs on the defaults, whose empty
// administrator would let anyone in and whose serial would start again at 1.
void HostileTextTest::unreadableSettingsAreReported_data()
{
    damagedRoutersFileIsReported_data();
}

void HostileTextTest::unreadableSettingsAreReported()
{
    QFETCH(QStringList, arguments);
    TestFolder folder;
    QVERIFY(install(folder, 8728));
    const QByteArray unreadable = fixture(u"settings-utf32.reg"_s);
    folder.writeSettings(unreadable);

    const CliRun run = runCli(folder, arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err, u"Não foi possível ler as configurações do programa.\nO arquivo %1 foi mantido como "
                      u"está; corrija-o ou remova-o para começar com as configurações iniciais.\n"_s.arg(
                          folder.settingsFile()));
    QVERIFY(readFile(folder.settingsFile()) == unreadable);
}

WIFITICKETER_TEST(HostileTextTest)
#include "hostiletexttest.moc"
