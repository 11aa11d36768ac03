#include "recordbuilders.h"
#include "routerharness.h"
#include "testmain.h"

#include "apisentence.h"
#include "router/hotspotusers.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimeZone>

#include <QTest>
#include <future>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString CreationError = u"Ocorreu um erro durante a criação do usuário."_s;
const QString ReplaceQuestion =
    u"O usuário já existe no roteador. Você deseja substituir o usuário existente?"_s;
const QString NotFound = u"Você não pode excluir o usuário. Usuário não encontrado."_s;

// 2026-12-08 20:45 in UTC-3 is 23:45 UTC.
qint64 sellingTime()
{
    return QDateTime(QDate(2026, 12, 8), QTime(23, 45), Qt::UTC).toSecsSinceEpoch();
}

HotSpotProfile oneHour()
{
    HotSpotProfile hotSpot;
    hotSpot.Name = u"1 hora"_s;
    hotSpot.Validity = 3600;
    hotSpot.RouterProfile = u"1hora"_s;
    return hotSpot;
}

// Whether the text is `prefix` followed by six credential characters: a
// generated name, or (with no prefix) a generated password.
bool isGenerated(const QString &text, const QString &prefix = {})
{
    static const QString alphabet = QStringLiteral("0123456789abcdefhkmnopqrstuvwxyz");
    if (!text.startsWith(prefix) || text.size() != prefix.size() + 6)
        return false;
    for (QChar c : text.mid(prefix.size())) {
        if (!alphabet.contains(c))
            return false;
    }
    return true;
}

QList<QStringList> withFirstWord(const QList<QStringList> &commands, const QString &first)
{
    QList<QStringList> out;
    for (const QStringList &words : commands) {
        if (words.value(0) == first)
            out.append(words);
    }
    return out;
}

// The value of "=key=" in the words, or a null text.
QString valueIn(const QStringList &words, const QString &key)
{
    const QString prefix = u'=' + key + u'=';
    for (const QString &word : words) {
        if (word.startsWith(prefix))
            return word.mid(prefix.size());
    }
    return {};
}

routersim::HotspotUser routerUser(const QString &id, const QString &name)
{
    routersim::HotspotUser user;
    user.id = id;
    user.name = name;
    user.password = u"velha"_s;
    user.comment = u"202001010000"_s;
    return user;
}

const routersim::HotspotUser *findUser(const routersim::RouterState &router, const QString &name)
{
    for (const routersim::HotspotUser &user : router.hotspotUsers) {
        if (user.name == name)
            return &user;
    }
    return nullptr;
}

// Generated names cannot be foreseen, so a test that needs the first one taken
// on the router takes it while the user-data prompt shows the voucher, before
// anything is sent: `taken` gets the name.
void takeDrawnNameOnRouter(RouterHarness &h, QString &taken)
{
    h.state.settings.QueryUserData = true;
    h.prompt.then([&h, &taken](VoucherRecord &record) {
        taken = record.UserName;
        routersim::RouterState router = h.router().state();
        router.hotspotUsers.append(routerUser({}, record.UserName));
        h.router().setState(router);
        return true;
    });
}

const QString RemovalFailed = u"Não foi possível excluir o usuário do roteador."_s;

// Takes the first whole sentence off the front of the bytes: its words, or
// nothing while it has not come in full. Word lengths as the API frames them
// (one to five bytes), read here without the program's codec.
std::optional<QStringList> takeSentence(QByteArray &bytes)
{
    QStringList words;
    qsizetype at = 0;
    for (;;) {
        if (at >= bytes.size())
            return std::nullopt;
        const quint8 first = quint8(bytes[at]);
        const int extra = first < 0x80 ? 0 : first < 0xC0 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
        if (at + 1 + extra > bytes.size())
            return std::nullopt;
        quint64 length = extra == 4 ? 0 : first & (0x7F >> extra);
        for (int i = 1; i <= extra; ++i)
            length = (length << 8) | quint8(bytes[at + i]);
        at += 1 + extra;
        if (length == 0)
            break;
        if (at + qsizetype(length) > bytes.size())
            return std::nullopt;
        words.append(QString::fromUtf8(bytes.mid(at, qsizetype(length))));
        at += qsizetype(length);
    }
    bytes.remove(0, at);
    return words;
}

// A router that plays a scripted dialogue on a thread of its own, for answers
// the simulator never gives: it takes one connection and writes the next
// answer of the script after each sentence it receives. Past the script it
// answers "/quit" as a router does, and closes the connection on anything else;
// with `hangUp` it closes the connection as soon as the last answer is written.
class ScriptedRouter
{
public:
    explicit ScriptedRouter(const QList<QByteArray> &answers, bool hangUp = false)
    {
        std::promise<quint16> listening;
        std::future<quint16> port = listening.get_future();
        m_thread = std::thread([this, answers, hangUp, listening = std::move(listening)]() mutable {
            QTcpServer server;
            listening.set_value(server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0);
            if (!server.isListening() || !server.waitForNewConnection(10000))
                return;
            std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
            QByteArray incoming;
            for (qsizetype answered = 0;;) {
                if (const std::optional<QStringList> words = takeSentence(incoming)) {
                    m_received.append(*words);
                    if (answered < answers.size()) {
                        socket->write(answers[answered++]);
                    } else {
                        if (words->value(0) == u"/quit")
                            socket->write(apiSentence({"!fatal", "=message=session terminated on request"}));
                        break;
                    }
                    socket->waitForBytesWritten(5000);
                    if (hangUp && answered == answers.size())
                        break;
                    continue;
                }
                if (!socket->waitForReadyRead(10000))
                    break;
                incoming += socket->readAll();
            }
            socket->waitForBytesWritten(5000);
            socket->close();
        });
        m_port = port.get();
    }
    ~ScriptedRouter() { finish(); }

    quint16 port() const { return m_port; }
    // Waits for the dialogue to end; then `received` is complete.
    void finish()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    // Every sentence received, logins and "/quit" included.
    const QList<QStringList> &received() const { return m_received; }

private:
    std::thread m_thread;
    quint16 m_port = 0;
    QList<QStringList> m_received;
};

enum PromptEdit
{
    NoPrompt, // the prompt must not be shown
    FillIn,   // customer data, and a password when none was generated
    Rename,   // the operator types another user name
    CancelPrompt
};

} // namespace

class HotSpotUsersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void minimalAdd();
    void addWords_data();
    void addWords();
    void refusedRandomNameIsReplaced();
    void allAttemptsFail_data();
    void allAttemptsFail();
    void connectionLost();
    void givenName_data();
    void givenName();
    void promptRules_data();
    void promptRules();
    void serialAndGenerator();
    void removeUser_data();
    void removeUser();
    void removeFromUnreachableRouter();
    void removeInterrupted_data();
    void removeInterrupted();
    void removeRefused_data();
    void removeRefused();
};

void HotSpotUsersTest::minimalAdd()
{
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    // 2026-12-08 20:45 in UTC-3 is 23:45 UTC.
    h.clock.set(QDateTime(QDate(2026, 12, 8), QTime(23, 45), Qt::UTC).toSecsSinceEpoch());
    QVERIFY(createHotSpotVoucher(h.voucherContext(), hotSpotProfile(defaultHotSpot(u"1 dia"_s, 86400)),
                                 std::nullopt));
    h.closeSession();
    QCOMPARE(h.state.batch.size(), size_t(1));
    const VoucherRecord &record = h.state.batch.front();
    QCOMPARE(h.commands().first(), (QStringList{u"/ip/hotspot/user/add"_s, u"=name="_s + record.UserName,
                                                u"=password="_s + record.Password, u"=profile=default"_s,
                                                u"=comment=202612092045"_s}));
    QCOMPARE(record.Serial, 1u);
    QCOMPARE(record.Generator, u"caixa"_s);
}

void HotSpotUsersTest::addWords_data()
{
    QTest::addColumn<qint64>("validity");
    QTest::addColumn<QString>("server");
    QTest::addColumn<qint64>("limitUptime");
    QTest::addColumn<QString>("bytesIn");
    QTest::addColumn<QString>("bytesOut");
    QTest::addColumn<QString>("bytesTotal");
    QTest::addColumn<QStringList>("words"); // after the profile word

    QTest::addRow("everything") << qint64(3600) << u"hotspot1"_s << qint64(1800) << u"1000000"_s << u"2M"_s
                                << u"3000000"_s
                                << QStringList{u"=server=hotspot1"_s,        u"=comment=202612082145"_s,
                                               u"=limit-uptime= 00:30:00"_s, u"=limit-bytes-in=1000000"_s,
                                               u"=limit-bytes-out=2M"_s,     u"=limit-bytes-total=3000000"_s};
    // Thirty days later is in the next year.
    QTest::addRow("a day and an hour of uptime")
        << qint64(30 * 86400) << QString() << qint64(90000) << QString() << QString() << QString()
        << QStringList{u"=comment=202701072045"_s, u"=limit-uptime=1d 01:00:00"_s};
    QTest::addRow("one day of uptime, total bytes")
        << qint64(86400) << QString() << qint64(86400) << QString() << QString() << u"5G"_s
        << QStringList{u"=comment=202612092045"_s, u"=limit-uptime=1d 00:00:00"_s,
                       u"=limit-bytes-total=5G"_s};
    QTest::addRow("server and bytes out")
        << qint64(60) << u"hotspot1"_s << qint64(0) << QString() << u"500k"_s << QString()
        << QStringList{u"=server=hotspot1"_s, u"=comment=202612082046"_s, u"=limit-bytes-out=500k"_s};
}

void HotSpotUsersTest::addWords()
{
    QFETCH(qint64, validity);
    QFETCH(QString, server);
    QFETCH(qint64, limitUptime);
    QFETCH(QString, bytesIn);
    QFETCH(QString, bytesOut);
    QFETCH(QString, bytesTotal);
    QFETCH(QStringList, words);
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    h.clock.set(sellingTime());
    HotSpotProfile hotSpot = oneHour();
    hotSpot.Validity = validity;
    hotSpot.Server = server;
    hotSpot.LimitUptime = limitUptime;
    hotSpot.LimitBytesIn = bytesIn;
    hotSpot.LimitBytesOut = bytesOut;
    hotSpot.LimitBytesTotal = bytesTotal;

    QVERIFY(createHotSpotVoucher(h.voucherContext(), hotSpotProfile(hotSpot), std::nullopt));
    h.closeSession();
    QCOMPARE(h.state.batch.size(), size_t(1));
    const VoucherRecord &record = h.state.batch.front();
    QCOMPARE(h.commands(),
             (QList<QStringList>{QStringList{u"/ip/hotspot/user/add"_s, u"=name="_s + record.UserName,
                                             u"=password="_s + record.Password, u"=profile=1hora"_s} +
                                     words,
                                 {u"/ip/hotspot/user/print"_s, u"?name="_s + record.UserName}}));
    QVERIFY(record.HotSpotUser);
    QVERIFY(record.RandomName);
    QCOMPARE(record.Created, sellingTime());
    QCOMPARE(record.Expires, sellingTime() + validity);

    const routersim::HotspotUser *user = findUser(h.router().state(), record.UserName);
    QVERIFY(user);
    QCOMPARE(user->password, record.Password);
    QCOMPARE(user->profile, u"1hora"_s);
    QCOMPARE(user->server, server);
    QCOMPARE(user->comment, valueIn(words, u"comment"_s));
    QCOMPARE(user->limitUptime, valueIn(words, u"limit-uptime"_s));
    QCOMPARE(user->limitBytesTotal, bytesTotal);
}

void HotSpotUsersTest::refusedRandomNameIsReplaced()
{
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    h.clock.set(sellingTime());
    QString taken;
    takeDrawnNameOnRouter(h, taken);

    QVERIFY(createHotSpotVoucher(h.voucherContext(), hotSpotProfile(oneHour()), std::nullopt));
    h.closeSession();
    QCOMPARE(h.prompt.shown.size(), 1);
    QVERIFY2(isGenerated(taken, u"usr"_s), qPrintable(taken));
    QCOMPARE(h.state.batch.size(), size_t(1));
    const VoucherRecord &record = h.state.batch.front();
    QVERIFY2(isGenerated(record.UserName, u"usr"_s), qPrintable(record.UserName));
    QVERIFY(record.UserName != taken);
    QVERIFY2(isGenerated(record.Password), qPrintable(record.Password));
    // The second attempt has a new name and the same password.
    const QStringList add = {u"/ip/hotspot/user/add"_s, u"=name="_s + taken,
                             u"=password="_s + record.Password, u"=profile=1hora"_s,
                             u"=comment=202612082145"_s};
    QStringList retry = add;
    retry[1] = u"=name="_s + record.UserName;
    QCOMPARE(h.commands(),
             (QList<QStringList>{add, retry, {u"/ip/hotspot/user/print"_s, u"?"_s + retry[1].mid(1)}}));
    const routersim::RouterState after = h.router().state();
    const routersim::HotspotUser *user = findUser(after, record.UserName);
    QVERIFY(user);
    QCOMPARE(user->password, record.Password);
    // The user who had the name keeps it.
    QCOMPARE(after.hotspotUsers.size(), 2);
    QCOMPARE(findUser(after, taken)->password, u"velha"_s);
    QVERIFY(h.interaction.events.isEmpty());
}

void HotSpotUsersTest::allAttemptsFail_data()
{
    QTest::addColumn<bool>("refuseAdds");
    QTest::addColumn<bool>("forgetAdds");
    QTest::addColumn<QString>("routerProfile");
    QTest::addColumn<bool>("firstNameTaken"); // the first name drawn is on the router already
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("message");

    QTest::addRow("router refuses every add")
        << true << false << u"1hora"_s << false << QString()
        << CreationError + u"\nResposta do router \"not enough permissions (9)\"."_s;
    QTest::addRow("given name refused every time")
        << false << false << u"nenhum"_s << false << u"joao"_s
        << CreationError + u"\nResposta do router \"input does not match any value of profile\"."_s;
    // The first name is taken, the nine after it are refused for their
    // profile: the last message is the one shown, not the first.
    QTest::addRow("the last message is shown")
        << false << false << u"nenhum"_s << true << QString()
        << CreationError + u"\nResposta do router \"input does not match any value of profile\"."_s;
    QTest::addRow("added users cannot be found")
        << false << true << u"1hora"_s << false << QString() << CreationError;
}

void HotSpotUsersTest::allAttemptsFail()
{
    QFETCH(bool, refuseAdds);
    QFETCH(bool, forgetAdds);
    QFETCH(QString, routerProfile);
    QFETCH(bool, firstNameTaken);
    QFETCH(QString, given);
    QFETCH(QString, message);
    routersim::RouterBehaviour behaviour;
    behaviour.refuseAdds = refuseAdds;
    behaviour.forgetAdds = forgetAdds;
    RouterHarness h(routersim::defaultRouterState(), behaviour);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    h.clock.set(sellingTime());
    const routersim::RouterState before = h.router().state();
    HotSpotProfile hotSpot = oneHour();
    hotSpot.RouterProfile = routerProfile;
    QString taken;
    if (firstNameTaken)
        takeDrawnNameOnRouter(h, taken);

    QVERIFY(!createHotSpotVoucher(h.voucherContext(), hotSpotProfile(hotSpot),
                                  given.isEmpty() ? std::nullopt : std::optional(given)));
    h.closeSession();
    QVERIFY(h.state.batch.empty());
    QCOMPARE(h.interaction.texts(), QStringList{message});
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);
    QCOMPARE(h.state.settings.VoucherSerial, 1u);

    // Every attempt has the one password; a random name is drawn anew for
    // each, a given name stays.
    const QList<QStringList> adds = withFirstWord(h.commands(), u"/ip/hotspot/user/add"_s);
    QCOMPARE(adds.size(), 10);
    const QString password = valueIn(adds[0], u"password"_s);
    QVERIFY2(isGenerated(password), qPrintable(password));
    QStringList names;
    for (int i = 0; i < adds.size(); ++i) {
        const QString name = valueIn(adds[i], u"name"_s);
        if (given.isEmpty())
            QVERIFY2(isGenerated(name, u"usr"_s), qPrintable(name));
        else
            QCOMPARE(name, given);
        names.append(name);
        QCOMPARE(valueIn(adds[i], u"password"_s), password);
        QCOMPARE(valueIn(adds[i], u"comment"_s), u"202612082145"_s);
    }
    names.removeDuplicates();
    QCOMPARE(names.size(), given.isEmpty() ? 10 : 1);
    if (firstNameTaken)
        QCOMPARE(valueIn(adds[0], u"name"_s), taken);
    // Only a confirmed add is looked up again.
    QCOMPARE(withFirstWord(h.commands(), u"/ip/hotspot/user/print"_s).size(),
             (forgetAdds ? 10 : 0) + (given.isEmpty() ? 0 : 1));
    if (forgetAdds)
        QCOMPARE(h.commands()[1],
                 (QStringList{u"/ip/hotspot/user/print"_s, u"?name="_s + valueIn(adds[0], u"name"_s)}));
    QCOMPARE(h.router().state().hotspotUsers.size(), before.hotspotUsers.size() + (firstNameTaken ? 1 : 0));
}

void HotSpotUsersTest::connectionLost()
{
    routersim::RouterBehaviour behaviour;
    behaviour.closeAfter = 3; // the login, then the first add
    RouterHarness h(routersim::defaultRouterState(), behaviour);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    h.clock.set(sellingTime());

    QVERIFY(!createHotSpotVoucher(h.voucherContext(), hotSpotProfile(oneHour()), std::nullopt));
    h.closeSession();
    QVERIFY(h.state.batch.empty());
    QCOMPARE(h.interaction.texts(), QStringList{CreationError});
    QCOMPARE(h.commands().value(0).value(0), u"/ip/hotspot/user/add"_s);
    // The router took the add but its read-back never came: the voucher may be
    // on the router, so it keeps its serial (and its journal entry).
    QCOMPARE(h.state.settings.VoucherSerial, 2u);
}

void HotSpotUsersTest::givenName_data()
{
    QTest::addColumn<bool>("onRouter");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("created");

    QTest::addRow("exists, replaced") << true << Answer::Yes << true;
    QTest::addRow("exists, kept") << true << Answer::No << false;
    QTest::addRow("new name") << false << Answer::Yes << true;
}

void HotSpotUsersTest::givenName()
{
    QFETCH(bool, onRouter);
    QFETCH(Answer, answer);
    QFETCH(bool, created);
    routersim::RouterState router = routersim::defaultRouterState();
    router.hotspotUsers = {routerUser(u"*A0"_s, u"outro"_s)};
    if (onRouter)
        router.hotspotUsers.append(routerUser(u"*A1"_s, u"joao"_s));
    RouterHarness h(router);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    h.clock.set(sellingTime());
    h.interaction.answer({answer});

    QCOMPARE(createHotSpotVoucher(h.voucherContext(), hotSpotProfile(oneHour()), u"joao"_s), created);
    h.closeSession();
    const QStringList lookUp = {u"/ip/hotspot/user/print"_s, u"?name=joao"_s};
    QList<QStringList> expected = {lookUp};
    if (onRouter && answer == Answer::Yes)
        expected.append({u"/ip/hotspot/user/remove"_s, u"=.id=*A1"_s});
    const routersim::RouterState after = h.router().state();
    if (created) {
        QCOMPARE(h.state.batch.size(), size_t(1));
        const VoucherRecord &record = h.state.batch.front();
        QCOMPARE(record.UserName, u"joao"_s);
        QVERIFY(!record.RandomName);
        expected.append({u"/ip/hotspot/user/add"_s, u"=name=joao"_s, u"=password="_s + record.Password,
                         u"=profile=1hora"_s, u"=comment=202612082145"_s});
        expected.append(lookUp);
        const routersim::HotspotUser *user = findUser(after, u"joao"_s);
        QVERIFY(user);
        if (onRouter)
            QVERIFY(user->id != u"*A1");
        QCOMPARE(user->password, record.Password);
        QCOMPARE(after.hotspotUsers.size(), 2);
    } else {
        QVERIFY(h.state.batch.empty());
        QCOMPARE(after.hotspotUsers.size(), 2);
        QCOMPARE(findUser(after, u"joao"_s)->comment, u"202001010000"_s);
    }
    QCOMPARE(h.commands(), expected);
    QCOMPARE(h.interaction.texts(), onRouter ? QStringList{ReplaceQuestion} : QStringList());
    if (onRouter)
        QCOMPARE(h.interaction.events[0].icon, MessageIcon::Question);
}

void HotSpotUsersTest::promptRules_data()
{
    QTest::addColumn<bool>("queryPassword");
    QTest::addColumn<bool>("queryUserData");
    QTest::addColumn<bool>("randomPassword");
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("edit");
    QTest::addColumn<int>("passwordSize"); // of the password sent; -1: none sent

    QTest::addRow("generated, no prompt") << false << false << true << QString() << int(NoPrompt) << 6;
    QTest::addRow("password typed") << true << false << true << QString() << int(FillIn) << 7;
    QTest::addRow("password typed, data asked too") << true << true << true << QString() << int(FillIn) << 7;
    QTest::addRow("data asked") << false << true << true << QString() << int(FillIn) << 6;
    QTest::addRow("no password at all") << false << false << false << QString() << int(NoPrompt) << 0;
    QTest::addRow("given name edited") << false << true << true << u"joao"_s << int(Rename) << 6;
    QTest::addRow("cancelled") << false << true << true << QString() << int(CancelPrompt) << -1;
    QTest::addRow("cancelled with a given name")
        << true << false << true << u"joao"_s << int(CancelPrompt) << -1;
}

void HotSpotUsersTest::promptRules()
{
    QFETCH(bool, queryPassword);
    QFETCH(bool, queryUserData);
    QFETCH(bool, randomPassword);
    QFETCH(QString, given);
    QFETCH(int, edit);
    QFETCH(int, passwordSize);
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    h.clock.set(sellingTime());
    h.state.settings.QueryPassword = queryPassword;
    h.state.settings.QueryUserData = queryUserData;
    h.state.settings.CreateRandomPassword = randomPassword;
    h.prompt.then([edit](VoucherRecord &record) {
        if (edit == CancelPrompt)
            return false;
        if (edit == Rename)
            record.UserName = u"maria"_s;
        record.FirstName = u"Ana"_s;
        if (record.Password.isEmpty())
            record.Password = u"segredo"_s;
        return true;
    });

    const bool created = createHotSpotVoucher(h.voucherContext(), hotSpotProfile(oneHour()),
                                              given.isEmpty() ? std::nullopt : std::optional(given));
    h.closeSession();
    QCOMPARE(created, passwordSize >= 0);
    QCOMPARE(h.prompt.shown.size(), edit == NoPrompt ? 0 : 1);
    if (!h.prompt.shown.isEmpty()) {
        // With a typed password the prompt opens without a generated one.
        QCOMPARE(h.prompt.shown[0].Password.size(), queryPassword ? 0 : 6);
        if (given.isEmpty())
            QCOMPARE(h.prompt.shown[0].UserName.size(), 9);
        else
            QCOMPARE(h.prompt.shown[0].UserName, given);
        QVERIFY(h.prompt.shown[0].HotSpotUser);
    }
    QVERIFY(h.interaction.events.isEmpty());
    if (!created) {
        QVERIFY(h.state.batch.empty());
        QVERIFY(h.commands().isEmpty());
        return;
    }
    QCOMPARE(h.state.batch.size(), size_t(1));
    const VoucherRecord &record = h.state.batch.front();
    const QList<QStringList> adds = withFirstWord(h.commands(), u"/ip/hotspot/user/add"_s);
    QCOMPARE(adds.size(), 1);
    QCOMPARE(valueIn(adds[0], u"password"_s).size(), passwordSize);
    QCOMPARE(valueIn(adds[0], u"password"_s), record.Password);
    QCOMPARE(record.FirstName, edit == NoPrompt ? QString() : u"Ana"_s);
    if (edit == Rename) {
        // The edited name is the one checked and created.
        QCOMPARE(h.commands().first(), (QStringList{u"/ip/hotspot/user/print"_s, u"?name=maria"_s}));
        QCOMPARE(valueIn(adds[0], u"name"_s), u"maria"_s);
    }
}

void HotSpotUsersTest::serialAndGenerator()
{
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    h.state.users.append({u"gerente"_s, QString(), false, false, false});
    h.state.currentUser = 1;
    h.state.settings.VoucherSerial = 999999999;
    const auto profile = hotSpotProfile(oneHour());

    QVERIFY(createHotSpotVoucher(h.voucherContext(), profile, std::nullopt));
    h.clock.advance(60);
    QVERIFY(createHotSpotVoucher(h.voucherContext(), profile, std::nullopt));
    h.closeSession();
    QCOMPARE(h.state.batch.size(), size_t(2));
    QCOMPARE(h.state.batch[0].Serial, 999999999u);
    QCOMPARE(h.state.batch[1].Serial, 1u);
    QCOMPARE(h.state.settings.VoucherSerial, 2u);
    QCOMPARE(h.state.batch[0].Generator, u"gerente"_s);
    QCOMPARE(h.state.batch[1].Created, h.state.batch[0].Created + 60);
    QVERIFY(h.state.batch[0].UserName != h.state.batch[1].UserName);
    QCOMPARE(h.state.batch[0].Profile, profile);
}

void HotSpotUsersTest::removeUser_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("hotSpot");
    QTest::addColumn<bool>("onRouter");
    QTest::addColumn<QList<QStringList>>("commands");
    QTest::addColumn<int>("major"); // the version the program keeps afterwards
    QTest::addColumn<int>("minor");

    const QStringList hotSpotPrint = {u"/ip/hotspot/user/print"_s, u"?name=joao"_s};
    const QStringList versionPrint = {u"/system/resource/print"_s};
    QTest::addRow("hotspot user") << u"6.48.6 (stable)"_s << true << true
                                  << QList<QStringList>{hotSpotPrint,
                                                        {u"/ip/hotspot/user/remove"_s, u"=.id=*A1"_s}}
                                  << 1 << 1;
    QTest::addRow("hotspot user not found")
        << u"6.48.6 (stable)"_s << true << false << QList<QStringList>{hotSpotPrint} << 1 << 1;
    QTest::addRow("User Manager on 6.29")
        << u"6.29"_s << false << true
        << QList<QStringList>{versionPrint,
                              {u"/tool/user-manager/user/print"_s, u"?name=joao"_s},
                              {u"/tool/user-manager/user/remove"_s, u"=.id=*B1"_s}}
        << 6 << 29;
    QTest::addRow("User Manager on 6.30")
        << u"6.30"_s << false << true
        << QList<QStringList>{versionPrint,
                              {u"/tool/user-manager/user/print"_s, u"?username=joao"_s},
                              {u"/tool/user-manager/user/remove"_s, u"=.id=*B1"_s}}
        << 6 << 30;
    QTest::addRow("User Manager on 7.12")
        << u"7.12"_s << false << true
        << QList<QStringList>{versionPrint,
                              {u"/user-manager/user/print"_s, u"?name=joao"_s},
                              {u"/user-manager/user/remove"_s, u"=.id=*B1"_s}}
        << 7 << 12;
    QTest::addRow("User Manager user not found")
        << u"6.48.6 (stable)"_s << false << false
        << QList<QStringList>{versionPrint, {u"/tool/user-manager/user/print"_s, u"?username=joao"_s}} << 6
        << 48;
}

void HotSpotUsersTest::removeUser()
{
    QFETCH(QString, version);
    QFETCH(bool, hotSpot);
    QFETCH(bool, onRouter);
    QFETCH(QList<QStringList>, commands);
    QFETCH(int, major);
    QFETCH(int, minor);
    // Both menus hold a "joao" when the user is on the router; only the one
    // asked for goes.
    routersim::RouterState router = routersim::defaultRouterState();
    router.version = version;
    router.hotspotUsers = {routerUser(u"*A0"_s, u"outro"_s)};
    routersim::UserManagerUser other;
    other.id = u"*B0"_s;
    other.name = u"outro"_s;
    router.userManagerUsers = {other};
    if (onRouter) {
        router.hotspotUsers.append(routerUser(u"*A1"_s, u"joao"_s));
        routersim::UserManagerUser joao = other;
        joao.id = u"*B1"_s;
        joao.name = u"joao"_s;
        router.userManagerUsers.append(joao);
    }
    RouterHarness h(router);
    QVERIFY(h.start());
    h.state.routerInfo = {1, 1, u"dono"_s};

    QCOMPARE(removeRouterUser(h.state.routers[0], u"joao"_s, hotSpot, h.state.routerInfo, h.interaction),
             onRouter);
    QCOMPARE(h.commands(), commands);
    QCOMPARE(h.sent().last(), QStringList{u"/quit"_s});
    QCOMPARE(h.interaction.texts(), onRouter ? QStringList() : QStringList{NotFound});
    if (!onRouter)
        QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);
    QCOMPARE(h.interaction.waitDepth, 0);

    const routersim::RouterState after = h.router().state();
    QCOMPARE(after.hotspotUsers.size(), onRouter && hotSpot ? 1 : router.hotspotUsers.size());
    QCOMPARE(after.userManagerUsers.size(), onRouter && !hotSpot ? 1 : router.userManagerUsers.size());
    QCOMPARE(after.hotspotUsers[0].name, u"outro"_s);
    QCOMPARE(after.userManagerUsers[0].name, u"outro"_s);
    // A User Manager removal refreshes the version the program keeps.
    QCOMPARE(h.state.routerInfo.Major, major);
    QCOMPARE(h.state.routerInfo.Minor, minor);
    QCOMPARE(h.state.routerInfo.Customer, u"dono"_s);
}

void HotSpotUsersTest::removeFromUnreachableRouter()
{
    RouterHarness h;
    QVERIFY(h.start());
    QVERIFY(
        !removeRouterUser(unreachableRouter(u"Longe"_s), u"joao"_s, true, h.state.routerInfo, h.interaction));
    QCOMPARE(
        h.interaction.texts(),
        QStringList{u"Ocorreu um erro ao conectar ao roteador Mikrotik Longe.\nVerifique se digitou o IP e "
                    u"a porta API corretos.\n\nCertifique que o serviço API está habilitado no roteador."_s});
    QCOMPARE(h.router().connectionCount(), 0);
    QCOMPARE(h.interaction.waitDepth, 0);
}

void HotSpotUsersTest::removeInterrupted_data()
{
    QTest::addColumn<bool>("hotSpot");
    QTest::addColumn<int>("closeAfter"); // sentences answered before the router drops the connection
    QTest::addColumn<QList<QStringList>>("commands");

    const QStringList hotSpotPrint = {u"/ip/hotspot/user/print"_s, u"?name=joao"_s};
    const QStringList versionPrint = {u"/system/resource/print"_s};
    // The login takes two sentences (challenge and response).
    QTest::addRow("hotspot, no answer to the removal") << true << 3 << QList<QStringList>{hotSpotPrint};
    QTest::addRow("hotspot, no answer to the look-up") << true << 2 << QList<QStringList>{};
    QTest::addRow("User Manager, no answer to the removal")
        << false << 4
        << QList<QStringList>{versionPrint, {u"/tool/user-manager/user/print"_s, u"?username=joao"_s}};
    QTest::addRow("User Manager, no answer after the login") << false << 2 << QList<QStringList>{};
}

void HotSpotUsersTest::removeInterrupted()
{
    QFETCH(bool, hotSpot);
    QFETCH(int, closeAfter);
    QFETCH(QList<QStringList>, commands);
    routersim::RouterState router = routersim::defaultRouterState();
    router.version = u"6.48.6 (stable)"_s;
    router.hotspotUsers = {routerUser(u"*A1"_s, u"joao"_s)};
    routersim::UserManagerUser joao;
    joao.id = u"*B1"_s;
    joao.name = u"joao"_s;
    router.userManagerUsers = {joao};
    routersim::RouterBehaviour behaviour;
    behaviour.closeAfter = closeAfter;
    RouterHarness h(router, behaviour);
    QVERIFY(h.start());

    // The user stays on the router, and the operator is not told it was not
    // there.
    QVERIFY(!removeRouterUser(h.state.routers[0], u"joao"_s, hotSpot, h.state.routerInfo, h.interaction));
    QCOMPARE(h.commands(), commands);
    QCOMPARE(h.interaction.texts(), QStringList{RemovalFailed});
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);
    QCOMPARE(h.interaction.waitDepth, 0);
    const routersim::RouterState after = h.router().state();
    QCOMPARE(after.hotspotUsers.size(), 1);
    QCOMPARE(after.userManagerUsers.size(), 1);
}

void HotSpotUsersTest::removeRefused_data()
{
    QTest::addColumn<bool>("hotSpot");
    QTest::addColumn<QList<QByteArray>>("answers"); // after the login
    QTest::addColumn<bool>("hangUp");               // the connection ends after the last answer
    QTest::addColumn<QList<QStringList>>("commands");
    QTest::addColumn<QString>("message");

    const QByteArray done = apiSentence({"!done"});
    const auto row = [&done](const QByteArrayList &words) {
        return apiSentence(QByteArrayList{"!re"} + words) + done;
    };
    const auto trap = [&done](const QByteArrayList &words) {
        return apiSentence(QByteArrayList{"!trap"} + words) + done;
    };
    const QStringList hotSpotPrint = {u"/ip/hotspot/user/print"_s, u"?name=joao"_s};
    const QStringList hotSpotRemove = {u"/ip/hotspot/user/remove"_s, u"=.id=*A1"_s};
    const QStringList versionPrint = {u"/system/resource/print"_s};

    QTest::addRow("hotspot removal refused")
        << true << QList<QByteArray>{row({"=.id=*A1", "=name=joao"}), trap({"=message=no such item"})}
        << false << QList<QStringList>{hotSpotPrint, hotSpotRemove}
        << RemovalFailed + u"\nResposta do router \"no such item\"."_s;
    QTest::addRow("refusal without a message")
        << true << QList<QByteArray>{row({"=.id=*A1", "=name=joao"}), trap({"=category=1"})} << false
        << QList<QStringList>{hotSpotPrint, hotSpotRemove} << RemovalFailed;
    // A lone "!trap" does not end the reply; the connection ends after it.
    QTest::addRow("refusal cut off") << true
                                     << QList<QByteArray>{row({"=.id=*A1", "=name=joao"}),
                                                          apiSentence({"!trap", "=message=busy"})}
                                     << true << QList<QStringList>{hotSpotPrint, hotSpotRemove}
                                     << RemovalFailed + u"\nResposta do router \"busy\"."_s;
    QTest::addRow("look-up refused: nothing is removed")
        << true << QList<QByteArray>{trap({"=message=not enough permissions (9)"})} << false
        << QList<QStringList>{hotSpotPrint}
        << RemovalFailed + u"\nResposta do router \"not enough permissions (9)\"."_s;
    QTest::addRow("User Manager 7 removal refused")
        << false
        << QList<QByteArray>{row({"=version=7.12 (stable)"}), row({"=.id=*B1", "=name=joao"}),
                             trap({"=message=user is active"})}
        << false
        << QList<QStringList>{versionPrint,
                              {u"/user-manager/user/print"_s, u"?name=joao"_s},
                              {u"/user-manager/user/remove"_s, u"=.id=*B1"_s}}
        << RemovalFailed + u"\nResposta do router \"user is active\"."_s;
    QTest::addRow("User Manager 6 removal refused in Windows-1252")
        << false
        << QList<QByteArray>{row({"=version=6.48.6 (stable)"}), row({"=.id=*B1", "=username=joao"}),
                             trap({"=message=usu\xe1rio em uso"})}
        << false
        << QList<QStringList>{versionPrint,
                              {u"/tool/user-manager/user/print"_s, u"?username=joao"_s},
                              {u"/tool/user-manager/user/remove"_s, u"=.id=*B1"_s}}
        << RemovalFailed + u"\nResposta do router \"usuário em uso\"."_s;
}

void HotSpotUsersTest::removeRefused()
{
    QFETCH(bool, hotSpot);
    QFETCH(QList<QByteArray>, answers);
    QFETCH(bool, hangUp);
    QFETCH(QList<QStringList>, commands);
    QFETCH(QString, message);
    // A router of 6.45.1 and later: no challenge, then the name and password.
    const QByteArray done = apiSentence({"!done"});
    ScriptedRouter peer(QList<QByteArray>{done, done} + answers, hangUp);
    QVERIFY(peer.port() != 0);
    RouterConfig router;
    router.Name = u"Recepção"_s;
    router.Address = u"127.0.0.1"_s;
    router.Port = QString::number(peer.port());
    router.ApiUser = u"admin"_s;
    RouterInfo info;
    ScriptedInteraction interaction;

    QVERIFY(!removeRouterUser(router, u"joao"_s, hotSpot, info, interaction));
    peer.finish();
    QList<QStringList> received = peer.received();
    QCOMPARE(received.value(0), QStringList{u"/login"_s});
    QCOMPARE(received.value(1).value(0), u"/login"_s);
    received = received.mid(2);
    // The session is closed after the failure; what came before is the dialogue.
    if (!received.isEmpty() && received.last() == QStringList{u"/quit"_s})
        received.removeLast();
    QCOMPARE(received, commands);
    QCOMPARE(interaction.texts(), QStringList{message});
    QCOMPARE(interaction.events[0].icon, MessageIcon::Error);
    QCOMPARE(interaction.waitDepth, 0);
}

WIFITICKETER_TEST(HotSpotUsersTest)
#include "hotspotuserstest.moc"
#include "router/routersession.h"
