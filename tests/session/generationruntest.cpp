#include "recordbuilders.h"
#include "routerharness.h"
#include "testmain.h"

#include "base/regvalue.h"
#include "base/suppressiblenotice.h"
#include "generation/credentials.h"
#include "history/historysearch.h"
#include "session/generationrun.h"

#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

const QString HotSpotNotice = u"Vouchers criados como usuários HotSpot são ativados quando criados.\n"
                              u"O tempo de validação desses vouchers inicia agora."_s;

// The stored "VoucherSerial", or nothing when it was never written.
std::optional<quint32> storedSerial(const RouterHarness &h)
{
    const std::optional<RegKeyValues> values = h.state.settingsKey.read();
    const RegValue *value = values ? findRegValue(*values, u"VoucherSerial"_s) : nullptr;
    if (!value || value->data.size() < 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(value->data.constData());
}

QStringList commandNames(const QList<QStringList> &sentences)
{
    QStringList names;
    for (const QStringList &words : sentences)
        names << words.value(0);
    return names;
}

} // namespace

class GenerationRunTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hotSpotRun();
    void countZero();
    void thirdVoucherCancelled();
    void sessionFails();
    void noticeCanBeSuppressed();
    void userManagerRun();
    void hostileGivenNameRefused_data();
    void hostileGivenNameRefused();
};

void GenerationRunTest::hotSpotRun()
{
    RouterHarness h;
    QVERIFY(h.start());
    // The words of the one-by-one path; pipelinedruntest compares the other.
    h.state.settings.PipelinedGeneration = false;
    h.state.settings.VoucherSerial = 41;
    h.clock.set(QDateTime(QDate(2026, 12, 10), QTime(13, 0), Qt::UTC).toSecsSinceEpoch(), 7);
    const auto profile = hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300));

    QVERIFY(runGeneration(h.state, h.interaction, h.prompt, {profile, 5, std::nullopt}));

    QCOMPARE(h.interaction.events.size(), 1);
    QCOMPARE(h.interaction.events[0].kind, ScriptedInteraction::Kind::Notice);
    QCOMPARE(h.interaction.events[0].text, HotSpotNotice);
    QCOMPARE(h.interaction.events[0].title, u"Atenção"_s);
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Warning);
    QVERIFY(h.interaction.waitsBegun >= 1);
    QCOMPARE(h.interaction.waitDepth, 0);

    // One session: login, five adds, quit.
    const QList<QStringList> sent = h.sent();
    QCOMPARE(sent.first().first(), u"/login"_s);
    QCOMPARE(sent.last(), QStringList{u"/quit"_s});
    QList<QStringList> expected;
    for (const VoucherRecord &record : h.state.batch) {
        expected.append({u"/ip/hotspot/user/add"_s, u"=name="_s + record.UserName,
                         u"=password="_s + record.Password, u"=profile=default"_s,
                         u"=comment=202612101100"_s});
        expected.append({u"/ip/hotspot/user/print"_s, u"?name="_s + record.UserName});
    }
    QCOMPARE(h.commands(), expected);
    // Random names: the hotspot prefix and six characters of the credential alphabet.
    const VoucherRecord &first = h.state.batch.front();
    QCOMPARE(first.UserName.size(), 9);
    QVERIFY2(first.UserName.startsWith(u"usr"_s), qPrintable(first.UserName));
    for (QChar c : first.UserName.mid(3))
        QVERIFY2(u"0123456789abcdefhkmnopqrstuvwxyz"_s.contains(c), qPrintable(first.UserName));
    QCOMPARE(h.commands()[0].value(1), u"=name="_s + first.UserName);

    QCOMPARE(h.state.batch.size(), size_t(5));
    QCOMPARE(h.state.batch.back().Serial, 45u);
    QCOMPARE(h.state.settings.VoucherSerial, 46u);
    QCOMPARE(storedSerial(h), std::optional<quint32>(46));
    QCOMPARE(h.state.lastRunProfile, std::shared_ptr<const VoucherProfile>(profile));

    QCOMPARE(h.state.posHistory.size(), 1);
    QCOMPARE(h.state.posHistory.entry(0).count, 5);
    QCOMPARE(h.state.posHistory.entry(0).title, u"1 Hora"_s);
    QCOMPARE(h.state.posHistory.entry(0).unitPrice, 300);
    QCOMPARE(h.state.posHistory.total(), 1500);

    const QList<HistoryRow> rows = h.historyOfToday();
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[0].UserName, first.UserName);
    QCOMPARE(rows[0].Profile, u"!#1 Hora"_s);
    QCOMPARE(rows[0].Validity, profile->Validity);
    QVERIFY(!rows[0].Validity.isEmpty() && !rows[0].Validity.contains(u'-'));
    QCOMPARE(rows[0].Router, u"Sim"_s);
    QCOMPARE(rows[0].Generator, u"caixa"_s);
    QCOMPARE(rows[0].Price, 300);
    QCOMPARE(rows[0].Serial, std::optional<quint32>(41));
    QCOMPARE(rows[0].Created.toSecsSinceEpoch(), h.clock.now());
}

void GenerationRunTest::countZero()
{
    RouterHarness h;
    QVERIFY(h.start());
    h.state.settings.VoucherSerial = 9;
    h.state.batch.emplace_back(); // a record of an earlier run

    QVERIFY(runGeneration(h.state, h.interaction, h.prompt,
                          {hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 0, std::nullopt}));

    QCOMPARE(h.interaction.texts(), QStringList{HotSpotNotice});
    QCOMPARE(h.sent().first().first(), u"/login"_s);
    QCOMPARE(h.sent().last(), QStringList{u"/quit"_s});
    QVERIFY(h.commands().isEmpty());
    QVERIFY(h.state.batch.empty());
    QCOMPARE(h.state.posHistory.size(), 0);
    QCOMPARE(storedSerial(h), std::optional<quint32>(9));
    QVERIFY(h.historyOfToday().isEmpty());
}

void GenerationRunTest::thirdVoucherCancelled()
{
    RouterHarness h;
    QVERIFY(h.start());
    h.state.settings.QueryUserData = true;
    h.state.settings.VoucherSerial = 100;
    h.prompt.then([](VoucherRecord &r) {
        r.FirstName = u"Ana"_s;
        return true;
    });
    h.prompt.then([](VoucherRecord &) { return true; });
    h.prompt.then([](VoucherRecord &) { return false; });

    QVERIFY(runGeneration(h.state, h.interaction, h.prompt,
                          {hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 5, std::nullopt}));

    QCOMPARE(h.prompt.shown.size(), 3);
    QCOMPARE(h.state.batch.size(), size_t(2));
    QCOMPARE(commandNames(h.commands()),
             (QStringList{u"/ip/hotspot/user/add"_s, u"/ip/hotspot/user/print"_s, u"/ip/hotspot/user/add"_s,
                          u"/ip/hotspot/user/print"_s}));
    QCOMPARE(storedSerial(h), std::optional<quint32>(102));
    QCOMPARE(h.state.posHistory.size(), 1);
    QCOMPARE(h.state.posHistory.entry(0).count, 2);
    const QList<HistoryRow> rows = h.historyOfToday();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].FirstName, u"Ana"_s);
}

void GenerationRunTest::sessionFails()
{
    RouterHarness h;
    QVERIFY(h.start());
    h.state.routers = {unreachableRouter(u"Longe"_s)};
    h.state.batch.emplace_back();
    h.state.lastRunProfile = hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300));
    h.state.settings.VoucherSerial = 5;

    QVERIFY(
        !runGeneration(h.state, h.interaction, h.prompt, {userManagerProfile(u"1dia"_s), 3, std::nullopt}));

    QVERIFY(h.state.batch.empty());
    QVERIFY(!h.state.lastRunProfile);
    QCOMPARE(h.interaction.events.size(), 1); // the session's own message
    QCOMPARE(h.interaction.events[0].kind, ScriptedInteraction::Kind::Message);
    QCOMPARE(storedSerial(h), std::nullopt);
    QCOMPARE(h.state.posHistory.size(), 0);
    QCOMPARE(h.interaction.waitDepth, 0);
}

void GenerationRunTest::noticeCanBeSuppressed()
{
    RouterHarness h;
    QVERIFY(h.start());
    h.interaction.setTickNotices(true);
    QVERIFY(runGeneration(h.state, h.interaction, h.prompt,
                          {hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 1, std::nullopt}));
    QVERIFY(runGeneration(h.state, h.interaction, h.prompt,
                          {hotSpotProfile(defaultHotSpot(u"1 Hora"_s, 3600, 300)), 1, std::nullopt}));
    QCOMPARE(h.interaction.texts(), QStringList{HotSpotNotice});

    // The choice lasts: a later start of the program reads it from the settings.
    ScriptedInteraction later;
    showSuppressibleNotice(SettingsKey(h.folder.settingsFile()), later, HotSpotNotice, u"Atenção"_s,
                           MessageIcon::Warning, u"{wifiTicketer}"_s);
    QVERIFY(later.events.isEmpty());
    // Other notices are not suppressed by it.
    showSuppressibleNotice(SettingsKey(h.folder.settingsFile()), later, u"x"_s, u"y"_s, MessageIcon::Warning,
                           u"{other}"_s);
    QCOMPARE(later.texts(), QStringList{u"x"_s});
}

void GenerationRunTest::userManagerRun()
{
    RouterHarness h;
    QVERIFY(h.start());
    h.state.settings.PipelinedGeneration = false;
    h.state.routerInfo = {6, 48, u"admin"_s};
    QVERIFY(
        runGeneration(h.state, h.interaction, h.prompt, {userManagerProfile(u"1dia"_s), 2, std::nullopt}));
    // RouterOS 6: the user, then its profile; two round trips a voucher.
    const QList<QStringList> commands = h.commands();
    QCOMPARE(commands.size(), 4);
    for (int i = 0; i < 2; ++i) {
        const VoucherRecord &record = h.state.batch[i];
        QCOMPARE(commands[2 * i],
                 (QStringList{u"/tool/user-manager/user/add"_s, u"=username="_s + record.UserName,
                              u"=password="_s + record.Password, u"=customer=admin"_s}));
        QCOMPARE(commands[2 * i + 1].size(), 4);
        QCOMPARE(commands[2 * i + 1][0], u"/tool/user-manager/user/create-and-activate-profile"_s);
        QVERIFY(commands[2 * i + 1][1].startsWith(u"=numbers=*"_s));
        QCOMPARE(commands[2 * i + 1].mid(2), (QStringList{u"=customer=admin"_s, u"=profile=1dia"_s}));
    }
    QVERIFY(h.interaction.texts().isEmpty()); // no hotspot notice
    QCOMPARE(h.state.batch.size(), size_t(2));
    QVERIFY(!h.state.batch.front().HotSpotUser);
    const QList<HistoryRow> rows = h.historyOfToday();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].Profile, u"1dia"_s);
    QCOMPARE(rows[0].Validity, u"1d"_s);
}

void GenerationRunTest::hostileGivenNameRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("line feed") << u"quarto\n12"_s;
    QTest::addRow("tab") << u"quarto\t12"_s;
    QTest::addRow("longer than the history column") << QString(51, u'q');
}

// A given name the router or the history would take differently from what was
// typed is refused with a message before anything reaches the router.
void GenerationRunTest::hostileGivenNameRefused()
{
    QFETCH(QString, name);
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(!runGeneration(h.state, h.interaction, h.prompt,
                           {userManagerProfile(u"1dia"_s), 1, std::optional<QString>(name)}));
    QCOMPARE(h.interaction.events.size(), 1);
    QCOMPARE(h.interaction.events[0].kind, ScriptedInteraction::Kind::Message);
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);
    QVERIFY(h.sent().isEmpty());
    QVERIFY(h.state.batch.empty());
}

WIFITICKETER_TEST(GenerationRunTest)
#include "generationruntest.moc"
