#include "journalfiles.h"
#include "recordbuilders.h"
#include "routerharness.h"
#include "testmain.h"

#include "base/regvalue.h"
#include "session/sessionfacade.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// The stored "VoucherSerial", or nothing when it was never written.
std::optional<quint32> storedSerial(const RouterHarness &h)
{
    const std::optional<RegKeyValues> values = h.state.settingsKey.read();
    const RegValue *value = values ? findRegValue(*values, u"VoucherSerial"_s) : nullptr;
    if (!value || value->data.size() < 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(value->data.constData());
}

QStringList batchNames(const BatchList &batch)
{
    QStringList names;
    for (const VoucherRecord &record : batch)
        names << record.UserName;
    return names;
}

// The sales history file as a new start would read it.
PosHistory salesOnDisk(const RouterHarness &h)
{
    PosHistory sales;
    sales.assign(decodePosHistoryFile(h.folder.readDataFile(u"PosHistory.bin"_s)).entries);
    return sales;
}

} // namespace

class SessionFacadeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workerRunAsksOnTheUserInterfaceThread();
    void stopAfterThirdVoucher_data();
    void stopAfterThirdVoucher();
    void sessionStartLoadsSales();
};

// A run on a worker thread: the notice, the user-data prompt and the question
// reach the operator on this thread while the router is spoken to elsewhere,
// and the run completes.
void SessionFacadeTest::workerRunAsksOnTheUserInterfaceThread()
{
    routersim::RouterState router = routersim::defaultRouterState();
    routersim::HotspotUser existing;
    existing.id = u"*A1"_s;
    existing.name = u"joao"_s;
    existing.password = u"velha"_s;
    router.hotspotUsers = {existing};
    RouterHarness h(router);
    QVERIFY(h.start());
    h.state.settings.QueryUserData = true;
    h.state.settings.VoucherSerial = 7;
    QThread *const uiThread = QThread::currentThread();
    QThread *promptThread = nullptr;
    h.prompt.then([&](VoucherRecord &record) {
        promptThread = QThread::currentThread();
        record.FirstName = u"Ana"_s;
        return true;
    });
    h.interaction.answer({Answer::Yes}); // replace the existing "joao"

    SessionFacade session(h.state, h.interaction);
    QThread *progressThread = nullptr;
    connect(
        &session, &SessionFacade::generationProgress, this,
        [&](quint32, quint32) { progressThread = QThread::currentThread(); }, Qt::DirectConnection);
    QSignalSpy finished(&session, &SessionFacade::generationFinished);
    QSignalSpy batchReady(&session, &SessionFacade::batchReady);
    QSignalSpy sales(&session, &SessionFacade::salesChanged);

    QVERIFY(session.startGeneration({hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 1, u"joao"_s},
                                    h.prompt));
    QVERIFY(session.isGenerating());
    // One run at a time.
    QVERIFY(!session.startGeneration(
        {hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 1, std::nullopt}, h.prompt));
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(!session.isGenerating());
    QCOMPARE(batchReady.size(), 1);
    QCOMPARE(sales.size(), 1);

    QCOMPARE(h.interaction.events.size(), 2);
    QCOMPARE(h.interaction.events[0].kind, ScriptedInteraction::Kind::Notice);
    QCOMPARE(h.interaction.events[1].kind, ScriptedInteraction::Kind::YesNo);
    QCOMPARE(h.interaction.events[1].text,
             u"O usuário já existe no roteador. Você deseja substituir o usuário existente?"_s);
    for (const ScriptedInteraction::Event &event : h.interaction.events)
        QCOMPARE(event.thread, uiThread);
    QCOMPARE(promptThread, uiThread);
    QVERIFY(!h.interaction.waitThreads.isEmpty());
    for (QThread *thread : h.interaction.waitThreads)
        QCOMPARE(thread, uiThread);
    QCOMPARE(h.interaction.waitDepth, 0);
    QVERIFY(progressThread != nullptr && progressThread != uiThread);

    // The old "joao" went, the new one is there, recorded and sold.
    QCOMPARE(hotSpotUserNames(h.router().state()), QStringList{u"joao"_s});
    QVERIFY(h.router().state().hotspotUsers[0].password != u"velha"_s);
    QCOMPARE(batchNames(h.state.batch), QStringList{u"joao"_s});
    QCOMPARE(h.state.batch.front().FirstName, u"Ana"_s);
    const QList<HistoryRow> rows = h.historyOfToday();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].UserName, u"joao"_s);
    QCOMPARE(rows[0].FirstName, u"Ana"_s);
    QCOMPARE(rows[0].Serial, std::optional<quint32>(7));
    QCOMPARE(h.state.settings.VoucherSerial, 8u);
    QCOMPARE(storedSerial(h), std::optional<quint32>(8));
    QCOMPARE(h.state.posHistory.size(), 1);
    QCOMPARE(h.state.posHistory.entry(0).count, 1);
    QCOMPARE(h.state.lastRunProfile->Title, u"1 Hora"_s);
}

void SessionFacadeTest::stopAfterThirdVoucher_data()
{
    QTest::addColumn<bool>("onWorker");
    QTest::addRow("worker thread") << true;
    QTest::addRow("caller's thread") << false;
}

// A stop asked for after the third voucher of ten ends the run there, as a
// normal end: three users on the router, three history rows, the serial
// advanced by three, one sale of three.
void SessionFacadeTest::stopAfterThirdVoucher()
{
    QFETCH(bool, onWorker);
    RouterHarness h;
    QVERIFY(h.start());
    // One voucher at a time; a pipelined run finishes what is in flight.
    h.state.settings.PipelinedGeneration = false;
    h.state.settings.VoucherSerial = 41;
    SessionFacade session(h.state, h.interaction);
    QList<quint32> progress;
    // Directly on the run's thread, so the stop comes right after the third.
    connect(
        &session, &SessionFacade::generationProgress, this,
        [&](quint32 made, quint32 count) {
            progress << made << count;
            if (made == 3)
                session.requestStop();
        },
        Qt::DirectConnection);
    QSignalSpy finished(&session, &SessionFacade::generationFinished);

    if (onWorker) {
        QVERIFY(session.startGeneration(
            {hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 10, std::nullopt}, h.prompt));
        QVERIFY(finished.wait(20000));
    } else {
        QVERIFY(session.runGeneration(
            {hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 10, std::nullopt}, h.prompt));
        QCOMPARE(finished.size(), 1);
    }
    QCOMPARE(finished.first().first().toBool(), true);
    QCOMPARE(progress, (QList<quint32>{1, 10, 2, 10, 3, 10}));

    const QStringList made = batchNames(h.state.batch);
    QCOMPARE(made.size(), 3);
    QCOMPARE(hotSpotUserNames(h.router().state()), made);
    QCOMPARE(h.sent().last(), QStringList{u"/quit"_s});
    const QList<HistoryRow> rows = h.historyOfToday();
    QCOMPARE(rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rows[i].UserName, made[i]);
        QCOMPARE(rows[i].Serial, std::optional<quint32>(41 + i));
    }
    QCOMPARE(storedSerial(h), std::optional<quint32>(44));
    const PosHistory sales = salesOnDisk(h);
    QCOMPARE(sales.size(), 1);
    QCOMPARE(sales.entry(0).count, 3);
    QCOMPARE(sales.entry(0).unitPrice, 300);
    QCOMPARE(h.state.posHistory.total(), 900);

    // The next run is not stopped by the earlier request.
    QVERIFY(session.runGeneration({hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 2, std::nullopt},
                                  h.prompt));
    QCOMPARE(h.state.batch.size(), size_t(2));
}

// The session start reads the shift's sales before anything is sold, so the
// counter shows them and the first sale adds to them.
void SessionFacadeTest::sessionStartLoadsSales()
{
    RouterHarness h;
    QVERIFY(h.start());
    h.folder.writeDataFile(u"PosHistory.bin"_s, encodePosHistoryFile({{2, u"Dia"_s, 1250}, {1, u"Hora"_s, 300}}));
    SessionFacade session(h.state, h.interaction);
    QSignalSpy profiles(&session, &SessionFacade::profilesChanged);
    QSignalSpy sales(&session, &SessionFacade::salesChanged);

    QVERIFY(session.logIn(u"caixa"_s, QString(), 0));
    QCOMPARE(profiles.size(), 1);
    QCOMPARE(sales.size(), 1);
    QCOMPARE(h.state.posHistory.size(), 2);
    QCOMPARE(h.state.posHistory.entry(1).title, u"Hora"_s);
    QCOMPARE(h.state.posHistory.total(), 2800);
}

WIFITICKETER_TEST(SessionFacadeTest)
#include "sessionfacadetest.moc"
