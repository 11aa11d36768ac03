#include "clirun.h"
#include "clisimulator.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/regvalue.h"
#include "base/settingskey.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString HotSpotNotice = u"Vouchers criados como usuários HotSpot são ativados quando criados.\n"
                              u"O tempo de validação desses vouchers inicia agora.\n"_s;

quint32 storedSerial(const TestFolder &folder)
{
    const std::optional<RegKeyValues> values = SettingsKey(folder.settingsFile()).read();
    const RegValue *value = values ? findRegValue(*values, u"VoucherSerial"_s) : nullptr;
    return value && value->data.size() >= 4 ? qFromLittleEndian<quint32>(value->data.constData()) : 0;
}

QStringList hotspotNames(const SimProcess &sim)
{
    QStringList names;
    for (const auto &user : sim.state().hotspotUsers)
        names << user.name;
    return names;
}

} // namespace

class GenerateCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generateThenHistory();
    void removeMarksTheHistory();
    void jsonAndGivenName();
    void nothingCreated();
    void unknownProfile();
    void outputCheckedFirst_data();
    void outputCheckedFirst();
    void existingPdfIsNotTouchedByTheCheck();
    void largeCountAsksFirst_data();
    void largeCountAsksFirst();
    void interruptKeepsWhatWasMade();
};

void GenerateCommandTest::generateThenHistory()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const QStringList before = hotspotNames(sim);

    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 HORAS"_s, u"--count"_s, u"5"_s});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains(HotSpotNotice), qPrintable(run.err));
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QStringList created;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u'\t');
        QCOMPARE(fields.size(), 6);
        QVERIFY(fields[0].startsWith(u"usr"_s));
        QCOMPARE(fields[2], u"%1"_s.arg(i + 1, 9, 10, QLatin1Char('0')));
        const QDateTime made = QDateTime::fromString(fields[3], u"yyyy-MM-dd HH:mm:ss"_s);
        const QDateTime expires = QDateTime::fromString(fields[4], u"yyyy-MM-dd HH:mm:ss"_s);
        QVERIFY(made.isValid());
        QCOMPARE(made.secsTo(expires), 3 * 3600);
        QCOMPARE(fields[5], u"HS"_s);
        created << fields[0];
    }
    // The router has the five users, the serial moved on by five, one sale.
    QCOMPARE(hotspotNames(sim), before + created);
    QCOMPARE(storedSerial(folder), 6u);
    QCOMPARE(folder.readDataFile(u"PosHistory.bin"_s).size(), 216);

    const CliRun history = runCli(folder, Operator + QStringList{u"history"_s, u"--format"_s, u"json"_s});
    QCOMPARE(history.exitCode, 0);
    const QJsonObject found = QJsonDocument::fromJson(history.out.toUtf8()).object();
    QCOMPARE(found[u"count"].toInt(), 5);
    QCOMPARE(found[u"total"].toInt(), 1500);
    QCOMPARE(found[u"suppressed"].toInt(), 0);
    QVERIFY2(found[u"line"].toString().startsWith(u"5 usuário gerados de "_s), qPrintable(history.out));
    QVERIFY(found[u"line"].toString().endsWith(u". Total: R$ 15,00, suprimido: R$ 0,00"_s));
    const QJsonArray rows = found[u"rows"].toArray();
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[0][u"user"].toString(), created[0]);
    QCOMPARE(rows[0][u"profile"].toString(), u"3 horas"_s);
    QCOMPARE(rows[0][u"router"].toString(), u"Sim"_s);
    QCOMPARE(rows[0][u"generator"].toString(), u"caixa"_s);
    QCOMPARE(rows[0][u"serial"].toString(), u"000000001"_s);
    QCOMPARE(rows[0][u"price"].toInt(), 300);
    QCOMPARE(rows[0][u"hotspot"].toBool(), true);
    QCOMPARE(rows[0][u"removed"].toBool(), false);

    // Text: the page's columns, then the totals line; only caixa's rows.
    const CliRun text = runCli(folder, Operator + QStringList{u"history"_s, u"--generator"_s, u"caixa"_s});
    const QStringList textLines = text.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(textLines.size(), 6);
    QCOMPARE(textLines[0].split(u'\t').size(), 14);
    QCOMPARE(textLines[0].split(u'\t')[7], u"R$ 3,00"_s);
    QCOMPARE(textLines[5], found[u"line"].toString());
    const CliRun nobody = runCli(folder, Operator + QStringList{u"history"_s, u"--generator"_s, u"ana"_s});
    QVERIFY(nobody.out.startsWith(u"0 usuário gerados de "_s));
    const CliRun yesterday = runCli(folder, Operator + QStringList{u"history"_s, u"--to"_s, u"2000-01-01"_s});
    QVERIFY(yesterday.out.startsWith(u"0 usuário gerados de "_s));
}

// A user removed from the router shows removed in the history, as after the
// history page's removal; the other voucher stays.
void GenerateCommandTest::removeMarksTheHistory()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 horas"_s, u"--count"_s, u"2"_s});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    const QString gone = lines[0].section(u'\t', 0, 0);
    const QString kept = lines[1].section(u'\t', 0, 0);

    const CliRun removal = runCli(folder, Operator + QStringList{u"remove"_s, u"--user"_s, gone});
    QCOMPARE(removal.exitCode, 0);
    QCOMPARE(removal.err, QString());
    QCOMPARE(hotspotNames(sim).contains(gone), false);

    const CliRun history = runCli(folder, Operator + QStringList{u"history"_s, u"--format"_s, u"json"_s});
    QCOMPARE(history.exitCode, 0);
    const QJsonObject found = QJsonDocument::fromJson(history.out.toUtf8()).object();
    QCOMPARE(found[u"total"].toInt(), 300);
    QCOMPARE(found[u"suppressed"].toInt(), 300);
    QHash<QString, bool> removed;
    for (const QJsonValue row : found[u"rows"].toArray())
        removed.insert(row[u"user"].toString(), row[u"removed"].toBool());
    QCOMPARE(removed, (QHash<QString, bool>{{gone, true}, {kept, false}}));
}

void GenerateCommandTest::jsonAndGivenName()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const CliRun run =
        runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"30 dias"_s,
                                              u"--name"_s, u"quarto12"_s, u"--format"_s, u"json"_s});
    QCOMPARE(run.exitCode, 0);
    const QJsonArray vouchers = QJsonDocument::fromJson(run.out.toUtf8()).array();
    QCOMPARE(vouchers.size(), 1);
    const QJsonObject voucher = vouchers[0].toObject();
    QCOMPARE(voucher[u"user"].toString(), u"quarto12"_s);
    QCOMPARE(voucher[u"password"].toString().size(), 6);
    QCOMPARE(voucher[u"serial"].toString(), u"000000001"_s);
    QCOMPARE(voucher[u"hotspot"].toBool(), true);
    QCOMPARE(voucher[u"profile"].toString(), u"30 dias"_s);
    QCOMPARE(QDateTime::fromString(voucher[u"created"].toString(), u"yyyy-MM-dd HH:mm:ss"_s)
                 .daysTo(QDateTime::fromString(voucher[u"expires"].toString(), u"yyyy-MM-dd HH:mm:ss"_s)),
             30);
    QVERIFY(hotspotNames(sim).contains(u"quarto12"_s));
}

void GenerateCommandTest::nothingCreated()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState(), true));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"3 horas"_s, u"--count"_s, u"3"_s});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains(u"Resposta do router"_s));
    QVERIFY(!QFile::exists(folder.dataFolder() + u"/PosHistory.bin"_s));
    QCOMPARE(storedSerial(folder), 1u);
}

void GenerateCommandTest::unknownProfile()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const CliRun run = runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s,
                                                             u"2 horas"_s, u"--count"_s, u"1"_s});
    QCOMPARE(run.exitCode, 2);
    // The router's sellable profiles are listed: the two hotspot profiles of the
    // installation and the router's two User Manager profiles.
    const QString message = run.err.section(u'\n', -2, -2);
    QVERIFY2(
        message.startsWith(u"wifiticketer-cli: no profile of the router is titled '2 horas'; profiles: "_s),
        qPrintable(run.err));
    for (const QString &title : {u"'3 horas'"_s, u"'30 dias'"_s, u"'1dia'"_s, u"'7dias'"_s})
        QVERIFY2(message.contains(title), qPrintable(message));
    QVERIFY(sim.commands().isEmpty() || sim.commands().first().first() != u"/ip/hotspot/user/add"_s);
}

void GenerateCommandTest::outputCheckedFirst_data()
{
    QTest::addColumn<QString>("pdf"); // %1: the test's folder
    QTest::addColumn<QString>("message");
    // Where the check must not have left a file.
    QTest::addColumn<QString>("untouched");

    QTest::addRow("folder missing")
        << u"%1/nowhere/v.pdf"_s
        << u"wifiticketer-cli: cannot write the PDF file '%1/nowhere/v.pdf': the "
           "folder '%1/nowhere' does not exist; create it or name a file in another "
           "folder\n"_s
        << u"%1/nowhere"_s;
    QTest::addRow("a folder") << u"%1/out"_s
                              << u"wifiticketer-cli: --pdf '%1/out' is a folder; name a file, such as "
                                 "'%1/out/vouchers.pdf'\n"_s
                              << u"%1/out"_s;
    // Root may write into any folder of a disk; nobody into /sys.
    const QString locked = geteuid() == 0 ? u"/sys"_s : u"%1/locked"_s;
    QTest::addRow("folder not writable")
        << locked + u"/v.pdf"_s
        << u"wifiticketer-cli: cannot write the PDF file '%1/v.pdf' (Permission denied); name a file in a "
           "folder you can write to\n"_s.arg(locked)
        << locked;
}

// Output that cannot be written stops the run before the router hears a word.
void GenerateCommandTest::outputCheckedFirst()
{
    QFETCH(QString, pdf);
    QFETCH(QString, message);
    QFETCH(QString, untouched);

    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    QVERIFY(QDir(folder.path()).mkdir(u"out"_s));
    QVERIFY(QDir(folder.path()).mkdir(u"locked"_s));
    QVERIFY(QFile::setPermissions(folder.path() + u"/locked"_s, QFile::ReadOwner | QFile::ExeOwner));
    const QString target = untouched.arg(folder.path());
    const QStringList before = QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const CliRun run =
        runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"3 horas"_s,
                                              u"--count"_s, u"2"_s, u"--pdf"_s, pdf.arg(folder.path())});
    QCOMPARE(run.err, message.arg(folder.path()));
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
    QCOMPARE(sim.sentences(), Commands());
    QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(storedSerial(folder), 1u);
    QFile::setPermissions(folder.path() + u"/locked"_s,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A PDF file that is there already is checked without being emptied: when the
// run stops later (here at a profile the router does not sell), it is intact.
void GenerateCommandTest::existingPdfIsNotTouchedByTheCheck()
{
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const QString pdf = folder.path() + u"/old.pdf"_s;
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("yesterday's vouchers");
    old.close();

    const CliRun run =
        runCli(folder, Operator + QStringList{u"--no"_s, u"generate"_s, u"--profile"_s, u"2 horas"_s,
                                              u"--count"_s, u"1"_s, u"--pdf"_s, pdf});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(u"no profile of the router is titled '2 horas'"_s), qPrintable(run.err));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), "yesterday's vouchers"_ba);
}

void GenerateCommandTest::largeCountAsksFirst_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("exitCode");

    QTest::addRow("--no") << u"10001"_s << QStringList{u"--no"_s} << true << 1;
    // Standard input is no terminal: the question is answered No.
    QTest::addRow("no terminal") << u"10001"_s << QStringList{} << true << 1;
    // Yes goes on to the router; the profile it does not sell ends the run
    // before any voucher is made.
    QTest::addRow("--yes") << u"10001"_s << QStringList{u"--yes"_s} << true << 2;
    QTest::addRow("10000 is not asked about") << u"10000"_s << QStringList{} << false << 2;
}

void GenerateCommandTest::largeCountAsksFirst()
{
    QFETCH(QString, count);
    QFETCH(QStringList, answer);
    QFETCH(bool, asked);
    QFETCH(int, exitCode);

    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState()));
    QVERIFY(install(folder, sim.port()));
    const CliRun run =
        runCli(folder, Operator + answer +
                           QStringList{u"generate"_s, u"--profile"_s, u"2 horas"_s, u"--count"_s, count});
    QCOMPARE(run.exitCode, exitCode);
    const QString question = u"Serão criados 10001 vouchers no roteador. Deseja continuar?\n"_s;
    QCOMPARE(run.err.startsWith(question), asked);
    if (exitCode == 1) {
        QCOMPARE(run.err, question);
        QCOMPARE(sim.sentences(), Commands());
    } else {
        QCOMPARE(sim.sentences().value(0).value(0), u"/login"_s);
        for (const QStringList &command : sim.commands())
            QVERIFY(command.value(0) != u"/ip/hotspot/user/add"_s);
    }
    QCOMPARE(run.out, QString());
}

// Ctrl+C on the terminal while vouchers are made over a slow link: the run
// shows its progress, stops after the voucher being made, and everything made
// is listed, on the router, in the history, in the serial and in one sale.
void GenerateCommandTest::interruptKeepsWhatWasMade()
{
    // script(1) gives the program a terminal, whose line discipline turns the
    // Ctrl+C byte into SIGINT as a real terminal does. The shell script(1)
    // starts execs the program: a shell left waiting (dash) would itself die
    // of the SIGINT and report 130 whatever the program did.
    const QString script = QStandardPaths::findExecutable(u"script"_s);
    if (script.isEmpty())
        QSKIP("script(1) is not installed");
    TestFolder folder;
    SimProcess sim(folder);
    QVERIFY(sim.start(routersim::defaultRouterState(), false, 20));
    QVERIFY(install(folder, sim.port()));
    const QStringList before = hotspotNames(sim);

    const QString listing = folder.path() + u"/vouchers.txt"_s;
    QProcess terminal;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"WIFITICKETER_SETTINGS"_s, folder.settingsFile());
    env.insert(u"WIFITICKETER_DATA_DIR"_s, folder.dataFolder());
    env.insert(u"SHELL"_s, u"/bin/sh"_s);
    terminal.setProcessEnvironment(env);
    terminal.start(script, {u"-qefc"_s,
                            u"exec '%1' %2 --no generate --profile '3 horas' --count 2000 > '%3'"_s.arg(
                                QStringLiteral(WIFITICKETER_CLI_PATH), Operator.join(u' '), listing),
                            u"/dev/null"_s});
    QVERIFY(terminal.waitForStarted(10000));
    // The progress goes by the vouchers confirmed together; the second figure
    // shows the batch well under way.
    const QRegularExpression progressFigure(u"\\r(\\d+)/2000"_s);
    QByteArray shown;
    while (shown.count("/2000") < 2) {
        QVERIFY2(terminal.waitForReadyRead(30000), shown.constData());
        shown += terminal.readAll();
    }
    terminal.write("\x03");
    QVERIFY(terminal.waitForFinished(60000));
    shown += terminal.readAll();
    QCOMPARE(terminal.exitCode(), 1);
    QVERIFY2(shown.contains("stopping once the vouchers under way are made"), shown.constData());

    QFile file(listing);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList made;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
        made << line.section(u'\t', 0, 0);
    const qsizetype count = made.size();
    QVERIFY2(count >= 2 && count < 2000, qPrintable(QString::number(count)));
    // The progress went as far as the vouchers listed, and no further.
    QString last;
    for (const QRegularExpressionMatch &match : progressFigure.globalMatch(QString::fromUtf8(shown)))
        last = match.captured(1);
    QCOMPARE(last, QString::number(count));

    QCOMPARE(hotspotNames(sim), before + made);
    QCOMPARE(storedSerial(folder), quint32(count + 1));
    const QByteArray sales = folder.readDataFile(u"PosHistory.bin"_s);
    QCOMPARE(sales.size(), 216);
    QCOMPARE(qFromLittleEndian<quint32>(sales.constData() + 8), quint32(count));
    const CliRun history = runCli(folder, Operator + QStringList{u"history"_s, u"--format"_s, u"json"_s});
    QStringList recorded;
    for (const QJsonValue &row : QJsonDocument::fromJson(history.out.toUtf8()).object()[u"rows"].toArray())
        recorded << row[u"user"].toString();
    QCOMPARE(recorded, made);
}

WIFITICKETER_TEST(GenerateCommandTest)
#include "generatecommandtest.moc"
