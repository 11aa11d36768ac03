#include "clirun.h"
#include "clisimulator.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/regvalue.h"
#include "base/settingskey.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>

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
                            u"exec '%1' %2 --no generate --profile '3 horas' --count 200 > '%3'"_s.arg(
                                QStringLiteral(WIFITICKETER_CLI_PATH), Operator.join(u' '), listing),
                            u"/dev/null"_s});
    QVERIFY(terminal.waitForStarted(10000));
    QByteArray shown;
    while (!shown.contains("\r3/200")) {
        QVERIFY2(terminal.waitForReadyRead(30000), shown.constData());
        shown += terminal.readAll();
    }
    terminal.write("\x03");
    QVERIFY(terminal.waitForFinished(60000));
    shown += terminal.readAll();
    QCOMPARE(terminal.exitCode(), 1);
    QVERIFY2(shown.contains("stopping after the current voucher"), shown.constData());

    QFile file(listing);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList made;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
        made << line.section(u'\t', 0, 0);
    const qsizetype count = made.size();
    QVERIFY2(count >= 3 && count < 200, qPrintable(QString::number(count)));
    // The progress went as far as the vouchers listed, and no further.
    QVERIFY(shown.contains("\r" + QByteArray::number(count) + "/200"));
    QVERIFY(!shown.contains("\r" + QByteArray::number(count + 1) + "/200"));

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
