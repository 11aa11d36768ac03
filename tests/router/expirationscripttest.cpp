#include "routerharness.h"
#include "testmain.h"

#include "router/expirationscript.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The script as the router must receive it, typed from the script's
// documentation: 57 lines, each ended by CR LF.
QByteArray expectedSource()
{
    QByteArray text = R"script(:local thisDate
:local thisYear
:local thisDay
:local thisMonth
:local thisTime
:local thisTime1
:local thisTime2
:local ISOcheck
:set thisDate [/ system clock get date]
:set thisTime [/ system clock get time]

:set ISOcheck [:pick $thisDate 4 5]
:set thisTime1 [:pick $thisTime 0 2]
:set thisTime2 [:pick $thisTime 3 5]

:if ($ISOcheck = "-") do={ 
 :set thisYear [:pick $thisDate 0 4]
 :set thisMonth [:pick $thisDate 5 7]
 :set thisDay [:pick $thisDate 8 10]
} else={ 
 :set thisMonth [:pick $thisDate 0 3]
 :set thisDay [:pick $thisDate 4 6]
 :set thisYear [:pick $thisDate 7 11]
 :if ($thisMonth = "jan") do={ :set thisMonth "01" }
 :if ($thisMonth = "feb") do={ :set thisMonth "02" }
 :if ($thisMonth = "mar") do={ :set thisMonth "03" }
 :if ($thisMonth = "apr") do={ :set thisMonth "04" }
 :if ($thisMonth = "may") do={ :set thisMonth "05" }
 :if ($thisMonth = "jun") do={ :set thisMonth "06" }
 :if ($thisMonth = "jul") do={ :set thisMonth "07" }
 :if ($thisMonth = "aug") do={ :set thisMonth "08" }
 :if ($thisMonth = "sep") do={ :set thisMonth "09" }
 :if ($thisMonth = "oct") do={ :set thisMonth "10" }
 :if ($thisMonth = "nov") do={ :set thisMonth "11" }
 :if ($thisMonth = "dec") do={ :set thisMonth "12" }
}
:if ($thisYear > "2010")  do={
 :set thisDate ($thisYear.$thisMonth.$thisDay.$thisTime1.$thisTime2)
 :local users [/ip hotspot user find]
 :local i
 :local expirationDate
 :foreach i in=$users do={
  :set expirationDate [/ ip hotspot user get $i comment]
  :if ([:len $expirationDate] = 12) do={
   :local expNum [:tonum $expirationDate]
   :local thisNum [:tonum $thisDate]
   :if (([:typeof $expNum] = "num") and($expNum < $thisNum)) do={
    :local userName [/ip hotspot user get $i name]
    :local activeUser [/ip hotspot active find where user=$userName]
    /ip hotspot user remove $i
    /ip hotspot active remove $activeUser
    :log info "Detected wifiTicketer hotspot expired user"
   }
  }
  :delay 0.5s
 }
})script";
    text.replace("\n", "\r\n");
    return text + "\r\n";
}

const QString Question =
    u"Ao criar usuários do HotSpot, o wifiTicketer necessita fazer upload de um script para controlar a "
    u"expiração do usuário.\nVocê deseja transferir esse script para o roteador?"_s;
const QString Success =
    u"Script transferido com sucesso para o roteador.\nScript and scheduler foram criados com o nome "
    u"wifiTicketer."_s;
const QString Failure = u"Ocorreu um erro durante a transferência do script."_s;

const QStringList ScriptPrint = {u"/system/script/print"_s, u"?name=wifiTicketer"_s};
const QStringList SchedulerPrint = {u"/system/scheduler/print"_s, u"?name=wifiTicketer"_s};

// Ids given to what is on the router before the upload.
const QString ScriptId = u"*5C"_s;
const QString SchedulerId = u"*E1"_s;

routersim::RouterState routerWith(bool script, bool scheduler)
{
    routersim::RouterState router = routersim::defaultRouterState();
    router.scripts = {{u"*5B"_s, u"outro"_s, u"# another script"_s}};
    router.schedulers = {{u"*E0"_s, u"outro"_s, u"outro"_s, u"1d 00:00:00"_s}};
    if (script)
        router.scripts.append({ScriptId, u"wifiTicketer"_s, u"# old"_s});
    if (scheduler)
        router.schedulers.append({SchedulerId, u"wifiTicketer"_s, u"old"_s, u"00:05:00"_s});
    return router;
}

QStringList scriptWords(bool exists)
{
    const QString source = QString::fromUtf8(expectedSource());
    if (exists)
        return {u"/system/script/set"_s, u"=.id="_s + ScriptId, u"=source="_s + source};
    return {u"/system/script/add"_s, u"=name=wifiTicketer"_s, u"=source="_s + source};
}

QStringList schedulerWords(bool exists, const QString &interval)
{
    if (exists)
        return {u"/system/scheduler/set"_s, u"=.id="_s + SchedulerId, u"=on-event=wifiTicketer"_s,
                u"=interval="_s + interval};
    return {u"/system/scheduler/add"_s, u"=name=wifiTicketer"_s, u"=on-event=wifiTicketer"_s,
            u"=interval="_s + interval};
}

const routersim::Script *findScript(const routersim::RouterState &router)
{
    for (const routersim::Script &script : router.scripts) {
        if (script.name == u"wifiTicketer")
            return &script;
    }
    return nullptr;
}

const routersim::SchedulerEntry *findScheduler(const routersim::RouterState &router)
{
    for (const routersim::SchedulerEntry &entry : router.schedulers) {
        if (entry.name == u"wifiTicketer")
            return &entry;
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(ScriptUpload)

class ExpirationScriptTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void source();
    void upload_data();
    void upload();
    void refused_data();
    void refused();
    void connectionLost_data();
    void connectionLost();
};

void ExpirationScriptTest::source()
{
    const QByteArray expected = expectedSource();
    QCOMPARE(expected.size(), 2000);
    const QList<QByteArray> lines = ExpirationScriptSource.split('\n');
    QCOMPARE(lines.size(), 58); // 57 lines and nothing after the last line break
    QVERIFY(lines.last().isEmpty());
    for (qsizetype i = 0; i < 57; ++i)
        QVERIFY2(lines[i].endsWith('\r'), qPrintable(u"line %1"_s.arg(i + 1)));
    QCOMPARE(lines[15], QByteArray(":if ($ISOcheck = \"-\") do={ \r"));
    QCOMPARE(lines[19], QByteArray("} else={ \r"));
    QCOMPARE(lines[36], QByteArray(":if ($thisYear > \"2010\")  do={\r"));
    QCOMPARE(lines[16], QByteArray(" :set thisYear [:pick $thisDate 0 4]\r"));
    QCOMPARE(ExpirationScriptSource, expected);
}

void ExpirationScriptTest::upload_data()
{
    QTest::addColumn<bool>("script");
    QTest::addColumn<bool>("scheduler");
    QTest::addColumn<bool>("force");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<qint64>("interval");
    QTest::addColumn<QString>("intervalText");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<ScriptUpload>("outcome");

    const QString tenMinutes = u" 00:10:00"_s;
    QTest::addRow("both in place") << true << true << false << Answer::Yes << qint64(600) << tenMinutes
                                   << false << ScriptUpload::NotWanted;
    QTest::addRow("scheduler missing, yes") << true << false << false << Answer::Yes << qint64(600)
                                            << tenMinutes << true << ScriptUpload::Uploaded;
    QTest::addRow("script missing, yes") << false << true << false << Answer::Yes << qint64(86400)
                                         << u"1d 00:00:00"_s << true << ScriptUpload::Uploaded;
    QTest::addRow("both missing, no") << false << false << false << Answer::No << qint64(600) << tenMinutes
                                      << true << ScriptUpload::NotWanted;
    QTest::addRow("scheduler missing, no") << true << false << false << Answer::No << qint64(600)
                                           << tenMinutes << true << ScriptUpload::NotWanted;
    QTest::addRow("forced, both missing") << false << false << true << Answer::No << qint64(90000)
                                          << u"1d 01:00:00"_s << false << ScriptUpload::Uploaded;
    QTest::addRow("forced, both in place")
        << true << true << true << Answer::No << qint64(600) << tenMinutes << false << ScriptUpload::Uploaded;
}

void ExpirationScriptTest::upload()
{
    QFETCH(bool, script);
    QFETCH(bool, scheduler);
    QFETCH(bool, force);
    QFETCH(Answer, answer);
    QFETCH(qint64, interval);
    QFETCH(QString, intervalText);
    QFETCH(bool, asked);
    QFETCH(ScriptUpload, outcome);
    const routersim::RouterState before = routerWith(script, scheduler);
    RouterHarness h(before);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    h.interaction.answer({answer});

    QCOMPARE(uploadExpirationScript(*h.connection.transport, interval, force, h.interaction), outcome);
    h.closeSession();
    QList<QStringList> expected = {ScriptPrint, SchedulerPrint};
    if (outcome == ScriptUpload::Uploaded)
        expected << scriptWords(script) << schedulerWords(scheduler, intervalText);
    QCOMPARE(h.commands(), expected);

    QStringList texts;
    if (asked)
        texts << Question;
    if (outcome == ScriptUpload::Uploaded)
        texts << Success;
    QCOMPARE(h.interaction.texts(), texts);
    if (asked)
        QCOMPARE(h.interaction.events[0].icon, MessageIcon::Question);
    if (outcome == ScriptUpload::Uploaded)
        QCOMPARE(h.interaction.events.last().icon, MessageIcon::Information);

    const routersim::RouterState after = h.router().state();
    if (outcome != ScriptUpload::Uploaded) {
        QCOMPARE(after.scripts.size(), before.scripts.size());
        QCOMPARE(after.schedulers.size(), before.schedulers.size());
        return;
    }
    // One of each, updated in place when it was there, beside the router's own.
    QCOMPARE(after.scripts.size(), 2);
    QCOMPARE(after.schedulers.size(), 2);
    QCOMPARE(after.scripts[0].source, u"# another script"_s);
    const routersim::Script *uploaded = findScript(after);
    QVERIFY(uploaded);
    QCOMPARE(uploaded->source.toUtf8(), expectedSource());
    if (script)
        QCOMPARE(uploaded->id, ScriptId);
    const routersim::SchedulerEntry *entry = findScheduler(after);
    QVERIFY(entry);
    QCOMPARE(entry->onEvent, u"wifiTicketer"_s);
    QCOMPARE(entry->interval, intervalText);
    if (scheduler)
        QCOMPARE(entry->id, SchedulerId);
}

void ExpirationScriptTest::refused_data()
{
    QTest::addColumn<bool>("script");
    QTest::addColumn<bool>("scheduler");
    QTest::addColumn<QList<QStringList>>("uploadCommands");
    QTest::addColumn<QString>("scriptSource");      // on the router afterwards
    QTest::addColumn<QString>("schedulerInterval"); // empty: none

    // A refused script leaves the scheduler entry as it was.
    QTest::addRow("script refused") << false << true << QList<QStringList>{scriptWords(false)} << QString()
                                    << u"00:05:00"_s;
    QTest::addRow("scheduler refused")
        << true << false << QList<QStringList>{scriptWords(true), schedulerWords(false, u" 00:10:00"_s)}
        << QString::fromUtf8(expectedSource()) << QString();
}

void ExpirationScriptTest::refused()
{
    QFETCH(bool, script);
    QFETCH(bool, scheduler);
    QFETCH(QList<QStringList>, uploadCommands);
    QFETCH(QString, scriptSource);
    QFETCH(QString, schedulerInterval);
    routersim::RouterBehaviour behaviour;
    behaviour.refuseAdds = true;
    RouterHarness h(routerWith(script, scheduler), behaviour);
    QVERIFY(h.start());
    QVERIFY(h.openSession());

    QCOMPARE(uploadExpirationScript(*h.connection.transport, 600, true, h.interaction), ScriptUpload::Failed);
    h.closeSession();
    QCOMPARE(h.commands(), QList<QStringList>({ScriptPrint, SchedulerPrint}) + uploadCommands);
    QCOMPARE(h.interaction.texts(),
             QStringList{Failure + u"\nResposta do router \"not enough permissions (9)\"."_s});
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);

    const routersim::RouterState after = h.router().state();
    const routersim::Script *stored = findScript(after);
    QCOMPARE(stored ? stored->source : QString(), scriptSource);
    const routersim::SchedulerEntry *entry = findScheduler(after);
    QCOMPARE(entry ? entry->interval : QString(), schedulerInterval);
    if (entry)
        QCOMPARE(entry->onEvent, u"old"_s);
}

void ExpirationScriptTest::connectionLost_data()
{
    QTest::addColumn<int>("closeAfter");
    QTest::addColumn<bool>("scriptStored");
    // Two login sentences and the two prints come first.
    QTest::addRow("before the script") << 4 << false;
    QTest::addRow("after the script") << 5 << true;
}

void ExpirationScriptTest::connectionLost()
{
    QFETCH(int, closeAfter);
    QFETCH(bool, scriptStored);
    routersim::RouterBehaviour behaviour;
    behaviour.closeAfter = closeAfter;
    RouterHarness h(routerWith(false, false), behaviour);
    QVERIFY(h.start());
    QVERIFY(h.openSession());

    // An answer that never came is no success, whatever the router did.
    QCOMPARE(uploadExpirationScript(*h.connection.transport, 600, true, h.interaction), ScriptUpload::Failed);
    h.closeSession();
    QCOMPARE(h.interaction.texts(), QStringList{Failure});
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);
    const routersim::RouterState after = h.router().state();
    QCOMPARE(findScript(after) != nullptr, scriptStored);
    QVERIFY(!findScheduler(after));
}

WIFITICKETER_TEST(ExpirationScriptTest)
#include "expirationscripttest.moc"
#include "router/routersession.h"
