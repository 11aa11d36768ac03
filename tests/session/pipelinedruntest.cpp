#include "journalfiles.h"
#include "recordbuilders.h"
#include "routerharness.h"
#include "testmain.h"

#include "generation/voucherprofile.h"
#include "pos/poshistory.h"
#include "session/generationrun.h"
#include "session/sessionfacade.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString CreationError = u"Ocorreu um erro durante a criação do usuário."_s;

// The router a case runs on, and the profile it sells.
struct Setup
{
    QString version; // empty: hotspot vouchers on the default router
    int major = 6;
    int minor = 48;
    bool verify = false;
    routersim::RouterBehaviour behaviour;
};

std::shared_ptr<VoucherProfile> profileOf(const Setup &setup)
{
    return setup.version.isEmpty() ? hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300))
                                   : userManagerProfile(u"1dia"_s);
}

void prepare(RouterHarness &h, const Setup &setup, bool pipelined)
{
    h.state.settings.PipelinedGeneration = pipelined;
    h.state.settings.VerifyCreatedUser = setup.verify;
    h.state.settings.VoucherSerial = 41;
    h.state.routerInfo = {setup.major, setup.minor, u"admin"_s};
}

routersim::RouterState routerFor(const Setup &setup)
{
    return setup.version.isEmpty() ? routersim::defaultRouterState()
                                   : routersim::routerStateOfVersion(setup.version);
}

// What the router holds of a user, its name and password left out (they are
// random), with its User Manager profile.
QString routerRecord(const routersim::RouterState &router, const VoucherRecord &voucher)
{
    for (const routersim::HotspotUser &user : router.hotspotUsers) {
        if (user.name == voucher.UserName && user.password == voucher.Password)
            return QStringList{user.profile,      user.server,        user.comment,        user.limitUptime,
                               user.limitBytesIn, user.limitBytesOut, user.limitBytesTotal}
                .join(u'|');
    }
    for (const routersim::UserManagerUser &user : router.userManagerUsers) {
        if (user.name != voucher.UserName || user.password != voucher.Password)
            continue;
        QStringList record{user.customer, user.actualProfile, user.credit, user.callerId, user.comment};
        for (const routersim::UserProfileAssignment &assignment : router.userProfiles) {
            if (assignment.user == user.name)
                record << assignment.profile;
        }
        return record.join(u'|');
    }
    return u"<not on the router>"_s;
}

int routerUserCount(const routersim::RouterState &router)
{
    return int(router.hotspotUsers.size() + router.userManagerUsers.size());
}

// The end of a run as the operator and the books see it, random names left
// out; each voucher is checked against the router and the history on the way.
struct RunEnd
{
    QStringList vouchers; // serial and the router's record, in batch order
    QStringList history;  // serial, profile, price, creation, validity of each row
    int routerUsers = 0;
    QStringList messages;
    QList<qint32> sales;
    std::optional<quint32> nextSerial;
    QStringList unconfirmed;

    friend bool operator==(const RunEnd &, const RunEnd &) = default;
};

RunEnd runEnd(RouterHarness &h)
{
    RunEnd end;
    const routersim::RouterState router = h.router().state();
    QHash<QString, QString> names; // serial -> user name of the batch
    for (const VoucherRecord &voucher : h.state.batch) {
        end.vouchers << formatSerial(voucher.Serial) + u' ' + routerRecord(router, voucher);
        names.insert(formatSerial(voucher.Serial), voucher.UserName);
    }
    for (const HistoryRow &row : h.historyOfToday()) {
        const QString serial = formatSerial(row.Serial.value_or(0));
        end.history << QStringList{serial, row.Profile, QString::number(row.Price),
                                   row.Created.toString(Qt::ISODate), row.Validity}
                           .join(u'|');
        if (names.value(serial) != row.UserName)
            end.history << u"history row %1 is not the batch's voucher"_s.arg(serial);
    }
    end.routerUsers = routerUserCount(router);
    end.messages = h.interaction.texts();
    for (int i = 0; i < h.state.posHistory.size(); ++i)
        end.sales << h.state.posHistory.entry(i).count;
    end.nextSerial = storedSerial(h.folder.settingsFile());
    end.unconfirmed = unconfirmedNames(h.folder.dataFolder());
    return end;
}

// The commands after the login, without their tags.
QList<QStringList> untagged(const QList<QStringList> &commands, bool &allTagged)
{
    allTagged = true;
    QList<QStringList> plain;
    for (QStringList words : commands) {
        if (words.value(0) == u"/quit")
            continue;
        const qsizetype before = words.size();
        words.removeIf([](const QString &word) { return word.startsWith(u".tag="_s); });
        allTagged = allTagged && words.size() == before - 1;
        plain << words;
    }
    return plain;
}

// Whether an add was sent before the reply to the one before it could be
// used: two adds in a row.
bool addsInARow(const QList<QStringList> &commands)
{
    for (qsizetype i = 1; i < commands.size(); ++i) {
        if (commands[i - 1].value(0).endsWith(u"/user/add") && commands[i].value(0).endsWith(u"/user/add"))
            return true;
    }
    return false;
}

} // namespace

class PipelinedRunTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameEndAsOneByOne_data();
    void sameEndAsOneByOne();
    void failureAfterLaterVouchersWereMade();
    void connectionLostWithCommandsInFlight();
    void stopFinishesWhatIsInFlight();
};

void PipelinedRunTest::sameEndAsOneByOne_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("overlaps"); // whether commands went without waiting
    QTest::addColumn<int>("made");

    const auto with = [](auto change) {
        routersim::RouterBehaviour behaviour;
        change(behaviour);
        return behaviour;
    };
    QTest::addRow("hotspot") << Setup{} << 150 << true << 150;
    QTest::addRow("hotspot, collision on the 50th")
        << Setup{{}, 6, 48, false, with([](auto &b) { b.collideAddAt = 50; })} << 150 << true << 150;
    QTest::addRow("hotspot, replies out of order") << Setup{{}, 6, 48, false, with([](auto &b) {
                                                                b.outOfOrderTags = true;
                                                                b.latencyMs = 3;
                                                            })}
                                                   << 150 << true << 150;
    // Every add from the 120th on is refused: 119 made, the run's end is the
    // refusal's message once.
    QTest::addRow("hotspot, refused from the 120th")
        << Setup{{}, 6, 48, false, with([](auto &b) { b.refuseAddsFrom = 120; })} << 200 << true << 119;
    QTest::addRow("router that echoes no tags")
        << Setup{{}, 6, 48, false, with([](auto &b) { b.ignoreTags = true; })} << 30 << false << 30;
    QTest::addRow("User Manager 6.48 verified, collision on the 50th")
        << Setup{u"6.48.6 (stable)"_s, 6, 48, true, with([](auto &b) { b.collideAddAt = 50; })} << 100 << true
        << 100;
    QTest::addRow("User Manager 6.1, activated by name")
        << Setup{u"6.1"_s, 6, 1, false, {}} << 60 << true << 60;
    QTest::addRow("User Manager 4.17 verified") << Setup{u"4.17"_s, 4, 17, true, {}} << 60 << true << 60;
    QTest::addRow("User Manager 7.12, collision on the 50th")
        << Setup{u"7.12 (stable)"_s, 7, 12, false, with([](auto &b) { b.collideAddAt = 50; })} << 100 << true
        << 100;
}

// The same router state and seed of serials, one voucher at a time and
// pipelined: the same users with the same words on the router, the same
// history rows and serials, the same messages, one sale.
void PipelinedRunTest::sameEndAsOneByOne()
{
    QFETCH(Setup, setup);
    QFETCH(int, count);
    QFETCH(bool, overlaps);
    QFETCH(int, made);

    RunEnd ends[2];
    QList<QStringList> commands[2];
    for (const bool pipelined : {false, true}) {
        RouterHarness h(routerFor(setup), setup.behaviour);
        QVERIFY(h.start());
        prepare(h, setup, pipelined);
        QVERIFY(runGeneration(h.state, h.interaction, h.prompt,
                              {profileOf(setup), quint32(count), std::nullopt}));
        ends[pipelined] = runEnd(h);
        commands[pipelined] = h.commands();
    }
    const RunEnd &oneByOne = ends[0];
    const RunEnd &pipelined = ends[1];
    QCOMPARE(oneByOne.vouchers.size(), made);
    QVERIFY(!oneByOne.vouchers.join(u'\n').contains(u"<not on the router>"_s));
    QCOMPARE(oneByOne.history.size(), made);
    QCOMPARE(oneByOne.routerUsers, made);
    QCOMPARE(oneByOne.nextSerial, std::optional<quint32>(41 + made));
    QCOMPARE(oneByOne.sales, QList<qint32>{made});
    QCOMPARE(pipelined.vouchers, oneByOne.vouchers);
    QCOMPARE(pipelined.history, oneByOne.history);
    QCOMPARE(pipelined.routerUsers, oneByOne.routerUsers);
    QCOMPARE(pipelined.messages, oneByOne.messages);
    QCOMPARE(pipelined.sales, oneByOne.sales);
    QCOMPARE(pipelined.nextSerial, oneByOne.nextSerial);
    QCOMPARE(pipelined.unconfirmed, QStringList());

    // Every pipelined command carries its tag; the plain path sends none.
    bool allTagged = false;
    const QList<QStringList> sent = untagged(commands[1], allTagged);
    QVERIFY(allTagged);
    untagged(commands[0], allTagged);
    QVERIFY(!allTagged);
    QCOMPARE(addsInARow(sent), overlaps);
    // A refusal stops the starting of vouchers, not the ones in flight.
    if (made < count)
        QVERIFY(sent.size() > commands[0].size());
}

// The pending file can no longer be written once the fifth voucher's name
// collides, so its new name cannot be written down and the run ends there:
// the vouchers before it are kept, the ones after it, made meanwhile, are
// removed from the router again, as if they had never been started.
void PipelinedRunTest::failureAfterLaterVouchersWereMade()
{
    RunEnd ends[2];
    for (const bool pipelined : {false, true}) {
        routersim::RouterBehaviour behaviour;
        behaviour.collideAddAt = 5;
        RouterHarness h(routersim::defaultRouterState(), behaviour);
        QVERIFY(h.start());
        prepare(h, Setup{}, pipelined);
        const QString pending = h.folder.dataFolder() + u"/HistoryPending.jsonl"_s;
        int adds = 0;
        h.router().setObserver(
            [&](const routersim::LoggedSentence &sentence, const routersim::RouterState &) {
                if (sentence.words.value(0) == "/ip/hotspot/user/add" && ++adds == 5) {
                    QFile::remove(pending);
                    QDir().mkpath(pending);
                }
            });
        QVERIFY(runGeneration(h.state, h.interaction, h.prompt, {profileOf(Setup{}), 20, std::nullopt}));
        h.router().setObserver({});
        ends[pipelined] = runEnd(h);
        if (pipelined) {
            QList<QStringList> removals;
            for (const QStringList &words : h.commands()) {
                if (words.value(0) == u"/ip/hotspot/user/remove")
                    removals << words;
            }
            // Vouchers 6 to 20 were all sent in the first window and made.
            QCOMPARE(removals.size(), 15);
        }
    }
    const RunEnd &oneByOne = ends[0];
    QCOMPARE(oneByOne.vouchers.size(), 4);
    QCOMPARE(oneByOne.routerUsers, 4);
    // The hotspot notice, what could not be recorded, and that the sales the
    // journal held could not be written to PosHistory.bin at the run's end.
    QCOMPARE(oneByOne.messages.size(), 3);
    QVERIFY(oneByOne.messages[1].startsWith(u"Erro: não foi possível registrar o voucher"_s));
    QVERIFY(oneByOne.messages[2].startsWith(u"Erro: não foi possível ler ou gravar o registro de vendas"_s));
    QCOMPARE(oneByOne.nextSerial, std::optional<quint32>(45));
    QCOMPARE(oneByOne.sales, QList<qint32>{4});
    const RunEnd &pipelined = ends[1];
    QCOMPARE(pipelined.vouchers, oneByOne.vouchers);
    QCOMPARE(pipelined.history, oneByOne.history);
    QCOMPARE(pipelined.routerUsers, oneByOne.routerUsers);
    QCOMPARE(pipelined.nextSerial, oneByOne.nextSerial);
    // Vouchers 1 to 4 waited to be confirmed together when the journal broke:
    // made and in the history, they cannot be sold without it, and the
    // operator is told so.
    QCOMPARE(pipelined.sales, QList<qint32>());
    QCOMPARE(pipelined.messages.mid(0, 2), oneByOne.messages.mid(0, 2));
    QCOMPARE(pipelined.messages.size(), 3);
    QVERIFY(pipelined.messages.last().contains(u"foi criado no roteador, mas não pôde ser registrado"_s));
}

// The router closes the connection while 30 and more commands are in flight:
// every voucher confirmed is recorded once, the others stay unconfirmed with
// their serials, and the next login settles them against the router.
void PipelinedRunTest::connectionLostWithCommandsInFlight()
{
    routersim::RouterBehaviour behaviour;
    behaviour.latencyMs = 5;
    // The login, the first voucher's add and read-back, then 60 of the adds
    // sent together after it.
    behaviour.closeAfter = 2 + 2 + 60;
    RouterHarness h(routersim::defaultRouterState(), behaviour);
    QVERIFY(h.start());
    prepare(h, Setup{}, true);
    SessionFacade session(h.state, h.interaction);
    QVERIFY(session.runGeneration({profileOf(Setup{}), 200, std::nullopt}, h.prompt));

    QCOMPARE(h.interaction.texts().last(), CreationError);
    QCOMPARE(h.interaction.texts().count(CreationError), 1);
    const QStringList onRouter = hotSpotUserNames(h.router().state());
    QCOMPARE(onRouter.size(), 61);
    const QList<HistoryRow> rows = h.historyOfToday();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].UserName, onRouter[0]);
    QCOMPARE(int(h.state.batch.size()), 1);
    // The other 127 of the window: 60 on the router, 67 whose add was never read.
    const QStringList unconfirmed = unconfirmedNames(h.folder.dataFolder());
    QCOMPARE(unconfirmed.size(), 127);
    for (const QString &name : onRouter.mid(1))
        QVERIFY2(unconfirmed.contains(name), qPrintable(name));
    QCOMPARE(QSet<QString>(unconfirmed.begin(), unconfirmed.end()).size(), 127);
    // No serial given to them is given again.
    QCOMPARE(storedSerial(h.folder.settingsFile()), std::optional<quint32>(41 + 128));

    // The next login asks the router about each of them.
    h.router().setBehaviour({});
    QVERIFY(session.logIn(u"caixa"_s, QString(), 0));
    QVERIFY(unconfirmedNames(h.folder.dataFolder()).isEmpty());
    QStringList recorded;
    QSet<quint32> serials;
    for (const HistoryRow &row : h.historyOfToday()) {
        recorded << row.UserName;
        serials.insert(row.Serial.value_or(0));
    }
    QCOMPARE(recorded.size(), 61);
    QCOMPARE(serials.size(), 61);
    QCOMPARE(QSet<QString>(recorded.begin(), recorded.end()),
             QSet<QString>(onRouter.begin(), onRouter.end()));
    qint32 sold = 0;
    for (int i = 0; i < h.state.posHistory.size(); ++i)
        sold += h.state.posHistory.entry(i).count;
    QCOMPARE(sold, 61);
}

// A stop starts no new voucher; the ones in flight are finished and recorded
// like any others.
void PipelinedRunTest::stopFinishesWhatIsInFlight()
{
    RouterHarness h;
    QVERIFY(h.start());
    prepare(h, Setup{}, true);
    GenerationControl control;
    control.progress = [&control](quint32, quint32) { control.requestStop(); };
    QVERIFY(
        runGeneration(h.state, h.interaction, h.prompt, {profileOf(Setup{}), 1000, std::nullopt}, &control));

    const RunEnd end = runEnd(h);
    const int made = int(end.vouchers.size());
    // The stop comes with the first confirmations, when at most two windows of
    // 128 have been started; every voucher started was finished.
    QVERIFY2(made > 1 && made <= 1 + 2 * 128, qPrintable(QString::number(made)));
    int adds = 0;
    for (const QStringList &words : h.commands())
        adds += words.value(0) == u"/ip/hotspot/user/add" ? 1 : 0;
    QCOMPARE(adds, made);
    QVERIFY(!end.vouchers.join(u'\n').contains(u"<not on the router>"_s));
    QCOMPARE(end.routerUsers, made);
    QCOMPARE(end.history.size(), made);
    QCOMPARE(end.sales, QList<qint32>{made});
    QCOMPARE(end.nextSerial, std::optional<quint32>(41 + made));
    QVERIFY(end.unconfirmed.isEmpty());
    QCOMPARE(end.messages.size(), 1); // the hotspot notice only
}

WIFITICKETER_TEST(PipelinedRunTest)
#include "pipelinedruntest.moc"
