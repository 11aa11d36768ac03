#include "apisentence.h"
#include "routerharness.h"
#include "testmain.h"

#include "router/hotspotusers.h"
#include "router/usermanagerusers.h"
#include "routeros/codec.h"
#include "routeros/memorytransport.h"

#include <QHash>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Commands = QList<QStringList>;

const QString CreationFailed = u"Ocorreu um erro durante a criação do usuário."_s;
const QString ExistsQuestion = u"User already exists in the router. Do you want to backup this user?"_s;

routersim::UserManagerUser userManagerUser(const QString &name, const QString &password)
{
    routersim::UserManagerUser user;
    user.name = name;
    user.password = password;
    user.customer = u"admin"_s;
    return user;
}

// What the program knows after reading the router's information.
void setRouterInfo(AppState &state, int major, int minor)
{
    state.routerInfo.Major = major;
    state.routerInfo.Minor = minor;
    state.routerInfo.Customer = u"admin"_s;
}

const routersim::UserManagerUser *findUser(const routersim::RouterState &router, const QString &name)
{
    const auto found =
        std::find_if(router.userManagerUsers.begin(), router.userManagerUsers.end(),
                     [&](const routersim::UserManagerUser &user) { return user.name == name; });
    return found == router.userManagerUsers.end() ? nullptr : &*found;
}

QStringList userNames(const routersim::RouterState &router)
{
    QStringList names;
    for (const routersim::UserManagerUser &user : router.userManagerUsers)
        names.append(user.name);
    names.sort();
    return names;
}

// The profile the router sells the user under: its credit (RouterOS 4), its
// activated profile (5 and 6) or its assigned profile (7).
QString profileOnRouter(const routersim::RouterState &router, const QString &name)
{
    const routersim::UserManagerUser *user = findUser(router, name);
    if (!user)
        return {};
    if (!user->credit.isEmpty())
        return user->credit;
    if (!user->actualProfile.isEmpty())
        return user->actualProfile;
    for (const routersim::UserProfileAssignment &assignment : router.userProfiles) {
        if (assignment.user == name)
            return assignment.profile;
    }
    return {};
}

// Fills in "{key}" placeholders of expected commands.
Commands expand(Commands commands, const QHash<QString, QString> &values)
{
    for (QStringList &words : commands) {
        for (QString &word : words) {
            for (auto it = values.begin(); it != values.end(); ++it)
                word.replace(u'{' + it.key() + u'}', it.value());
        }
    }
    return commands;
}

QStringList firstWords(const Commands &commands)
{
    QStringList words;
    for (const QStringList &command : commands)
        words.append(command.value(0));
    return words;
}

// The sentences the program wrote to a scripted transport, as texts.
Commands sentCommands(const MemoryTransport &transport)
{
    Commands out;
    for (const QByteArray &bytes : transport.sends()) {
        MemoryTransport reader;
        reader.supply(bytes);
        QStringList words;
        for (const QByteArray &word : readSentence(reader).words)
            words.append(QString::fromUtf8(word));
        out.append(words);
    }
    return out;
}

} // namespace

class UserManagerUsersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createsPerVersion_data();
    void createsPerVersion();
    void addCarriesRecordData_data();
    void addCarriesRecordData();
    void existingUser_data();
    void existingUser();
    void refusedAddsAreRetried_data();
    void refusedAddsAreRetried();
    void refusedRandomNameIsReplaced();
    void profileNotAssigned_data();
    void profileNotAssigned();
    void judgesRouterReplies_data();
    void judgesRouterReplies();
    void recordTimesAndSerial_data();
    void recordTimesAndSerial();
    void promptCancelled_data();
    void promptCancelled();
    void promptEditsAreSent();
    void removesUserManagerUser_data();
    void removesUserManagerUser();
};

void UserManagerUsersTest::createsPerVersion_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("verify");
    QTest::addColumn<Commands>("expected");

    const QStringList add4 = {u"/tool/user-manager/user/add"_s, u"=name={user}"_s, u"=password={password}"_s,
                              u"=subscriber=admin"_s, u"=add-credit=1dia"_s};
    const QStringList addName = {u"/tool/user-manager/user/add"_s, u"=name={user}"_s,
                                 u"=password={password}"_s, u"=customer=admin"_s};
    const QStringList addUsername = {u"/tool/user-manager/user/add"_s, u"=username={user}"_s,
                                     u"=password={password}"_s, u"=customer=admin"_s};
    const QStringList activateByUser = {u"/tool/user-manager/user/create-and-activate-profile"_s,
                                        u"=user={user}"_s, u"=customer=admin"_s, u"=profile=1dia"_s};
    const QStringList activateById = {u"/tool/user-manager/user/create-and-activate-profile"_s,
                                      u"=numbers={id}"_s, u"=customer=admin"_s, u"=profile=1dia"_s};
    const Commands seven = {{u"/user-manager/user/add"_s, u"=name={user}"_s, u"=password={password}"_s},
                            {u"/user-manager/user-profile/add"_s, u"=user={user}"_s, u"=profile=1dia"_s}};

    QTest::addRow("4.17") << u"4.17"_s << 4 << 17 << false << Commands{add4};
    QTest::addRow("4.17 verified") << u"4.17"_s << 4 << 17 << true
                                   << Commands{add4, {u"/tool/user-manager/user/print"_s, u"?name={user}"_s}};
    QTest::addRow("5.26") << u"5.26"_s << 5 << 26 << false << Commands{addName, activateByUser};
    QTest::addRow("6.0") << u"6.0"_s << 6 << 0 << false << Commands{addName, activateByUser};
    QTest::addRow("6.1") << u"6.1"_s << 6 << 1 << false << Commands{addName, activateByUser};
    QTest::addRow("6.2") << u"6.2"_s << 6 << 2 << false << Commands{addName, activateById};
    QTest::addRow("6.29 verified") << u"6.29"_s << 6 << 29 << true
                                   << Commands{addName,
                                               activateById,
                                               {u"/tool/user-manager/user/print"_s, u"?name={user}"_s,
                                                u"?customer=admin"_s}};
    QTest::addRow("6.30") << u"6.30"_s << 6 << 30 << false << Commands{addUsername, activateById};
    QTest::addRow("6.48 verified") << u"6.48.6 (stable)"_s << 6 << 48 << true
                                   << Commands{addUsername,
                                               activateById,
                                               {u"/tool/user-manager/user/print"_s, u"?username={user}"_s,
                                                u"?customer=admin"_s}};
    // RouterOS 7 assigns the profile and never reads the user back.
    QTest::addRow("7.12") << u"7.12"_s << 7 << 12 << true << seven;
    QTest::addRow("8.1 as 7") << u"8.1"_s << 8 << 1 << false << seven;
    // A version that could not be read: the forms of 6 before the "=username=" rename.
    QTest::addRow("unknown version") << u"6.20"_s << 0 << 0 << true
                                     << Commands{addName,
                                                 activateById,
                                                 {u"/tool/user-manager/user/print"_s, u"?name={user}"_s,
                                                  u"?customer=admin"_s}};
}

void UserManagerUsersTest::createsPerVersion()
{
    QFETCH(QString, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, verify);
    QFETCH(Commands, expected);

    RouterHarness h(routersim::routerStateOfVersion(version));
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    setRouterInfo(h.state, major, minor);
    h.state.settings.VerifyCreatedUser = verify;
    h.clock.set(1800000000);
    QVERIFY(createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"1dia"_s), std::nullopt));
    h.closeSession();

    QCOMPARE(h.state.batch.size(), size_t(1));
    const VoucherRecord &record = h.state.batch.front();
    QVERIFY2(record.UserName.startsWith(u"user"_s) && record.UserName.size() == 10,
             qPrintable(record.UserName));
    QCOMPARE(record.Password.size(), 6);
    QVERIFY(record.RandomName);
    QVERIFY(!record.HotSpotUser);
    const routersim::RouterState router = h.router().state();
    const routersim::UserManagerUser *user = findUser(router, record.UserName);
    QVERIFY(user);
    QCOMPARE(user->password, record.Password);
    QCOMPARE(h.commands(),
             expand(expected,
                    {{u"user"_s, record.UserName}, {u"password"_s, record.Password}, {u"id"_s, user->id}}));
    QCOMPARE(profileOnRouter(router, record.UserName), u"1dia"_s);
    QCOMPARE(record.Created, qint64(1800000000));
    QCOMPARE(record.Expires, qint64(1800000000 + 86400));
    QCOMPARE(record.Serial, 1u);
    QCOMPARE(record.Generator, u"caixa"_s);
    QCOMPARE(h.interaction.events.size(), 0);
}

void UserManagerUsersTest::addCarriesRecordData_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("macBinding");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("expected");

    // The prompt gives a first name, a phone and an e-mail; last name and location stay empty.
    QTest::addRow("6.48 personal data") << u"6.48.6"_s << 6 << 48 << false << QString()
                                        << QStringList{u"/tool/user-manager/user/add"_s,
                                                       u"=username={user}"_s,
                                                       u"=password={password}"_s,
                                                       u"=customer=admin"_s,
                                                       u"=first-name=João"_s,
                                                       u"=phone=11 5555-0000"_s,
                                                       u"=email=joao@example.com"_s};
    QTest::addRow("6.48 binding and comment") << u"6.48.6"_s << 6 << 48 << true << u"quarto 12"_s
                                              << QStringList{u"/tool/user-manager/user/add"_s,
                                                             u"=username={user}"_s,
                                                             u"=password={password}"_s,
                                                             u"=customer=admin"_s,
                                                             u"=first-name=João"_s,
                                                             u"=phone=11 5555-0000"_s,
                                                             u"=email=joao@example.com"_s,
                                                             u"=caller-id=bind"_s,
                                                             u"=comment=quarto 12"_s};
    QTest::addRow("4.17 comment") << u"4.17"_s << 4 << 17 << false << u"quarto 12"_s
                                  << QStringList{u"/tool/user-manager/user/add"_s,
                                                 u"=name={user}"_s,
                                                 u"=password={password}"_s,
                                                 u"=subscriber=admin"_s,
                                                 u"=add-credit=1dia"_s,
                                                 u"=first-name=João"_s,
                                                 u"=phone=11 5555-0000"_s,
                                                 u"=email=joao@example.com"_s,
                                                 u"=comment=quarto 12"_s};
    QTest::addRow("7.12 binding and comment")
        << u"7.12"_s << 7 << 12 << true << u"quarto 12"_s
        << QStringList{u"/user-manager/user/add"_s, u"=name={user}"_s, u"=password={password}"_s,
                       u"=caller-id=bind"_s, u"=comment=quarto 12"_s};
    QTest::addRow("7.12 bare") << u"7.12"_s << 7 << 12 << false << QString()
                               << QStringList{u"/user-manager/user/add"_s, u"=name={user}"_s,
                                              u"=password={password}"_s};
}

void UserManagerUsersTest::addCarriesRecordData()
{
    QFETCH(QString, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, macBinding);
    QFETCH(QString, comment);
    QFETCH(QStringList, expected);

    RouterHarness h(routersim::routerStateOfVersion(version));
    QVERIFY(h.start());
    h.state.routers[0].MacBinding = macBinding;
    QVERIFY(h.openSession());
    setRouterInfo(h.state, major, minor);
    h.state.settings.QueryUserData = true;
    h.prompt.then([&](VoucherRecord &record) {
        record.FirstName = u"João"_s;
        record.Phone = u"11 5555-0000"_s;
        record.Email = u"joao@example.com"_s;
        record.Comment = comment;
        return true;
    });
    QVERIFY(createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"1dia"_s), std::nullopt));
    h.closeSession();

    QCOMPARE(h.state.batch.size(), size_t(1));
    const VoucherRecord &record = h.state.batch.front();
    // The prompt saw the generated credentials.
    QCOMPARE(h.prompt.shown.size(), 1);
    QCOMPARE(h.prompt.shown[0].Password, record.Password);
    QCOMPARE(record.Password.size(), 6);
    QCOMPARE(h.commands().value(0),
             expand({expected}, {{u"user"_s, record.UserName}, {u"password"_s, record.Password}}).first());
    const routersim::UserManagerUser *user = findUser(h.router().state(), record.UserName);
    QVERIFY(user);
    QCOMPARE(user->callerId, macBinding ? u"bind"_s : QString());
    QCOMPARE(user->comment, comment);
    QCOMPARE(user->firstName, major < 7 ? u"João"_s : QString());
}

void UserManagerUsersTest::existingUser_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer"); // Answer
    QTest::addColumn<Commands>("expected");
    QTest::addColumn<bool>("created");
    QTest::addColumn<QStringList>("namesAfter");

    const QString backup = u"ana_261208140509"_s;
    const Commands after630 = {{u"/tool/user-manager/user/add"_s, u"=username=ana"_s,
                                u"=password={password}"_s, u"=customer=admin"_s},
                               {u"/tool/user-manager/user/create-and-activate-profile"_s, u"=numbers={id}"_s,
                                u"=customer=admin"_s, u"=profile=1dia"_s}};
    const Commands after629 = {
        {u"/tool/user-manager/user/add"_s, u"=name=ana"_s, u"=password={password}"_s, u"=customer=admin"_s},
        {u"/tool/user-manager/user/create-and-activate-profile"_s, u"=numbers={id}"_s, u"=customer=admin"_s,
         u"=profile=1dia"_s}};
    const Commands after4 = {{u"/tool/user-manager/user/add"_s, u"=name=ana"_s, u"=password={password}"_s,
                              u"=subscriber=admin"_s, u"=add-credit=1dia"_s}};
    const Commands after7 = {{u"/user-manager/user/add"_s, u"=name=ana"_s, u"=password={password}"_s},
                             {u"/user-manager/user-profile/add"_s, u"=user=ana"_s, u"=profile=1dia"_s}};
    const QStringList print630 = {u"/tool/user-manager/user/print"_s, u"?username=ana"_s,
                                  u"?customer=admin"_s};
    const QStringList print7 = {u"/user-manager/user/print"_s, u"?name=ana"_s};

    QTest::addRow("6.40 yes keeps a backup")
        << u"6.40"_s << 6 << 40 << u"ana"_s << int(Answer::Yes)
        << Commands{print630, {u"/tool/user-manager/user/set"_s, u"=.id={old}"_s, u"=username="_s + backup}} +
               after630
        << true << QStringList{u"ana"_s, backup};
    QTest::addRow("6.29 yes keeps a backup")
        << u"6.29"_s << 6 << 29 << u"ana"_s << int(Answer::Yes)
        << Commands{{u"/tool/user-manager/user/print"_s, u"?name=ana"_s, u"?customer=admin"_s},
                    {u"/tool/user-manager/user/set"_s, u"=.id={old}"_s, u"=name="_s + backup}} +
               after629
        << true << QStringList{u"ana"_s, backup};
    QTest::addRow("4.17 yes keeps a backup")
        << u"4.17"_s << 4 << 17 << u"ana"_s << int(Answer::Yes)
        << Commands{{u"/tool/user-manager/user/print"_s, u"?name=ana"_s, u"?subscriber=admin"_s},
                    {u"/tool/user-manager/user/set"_s, u"=.id={old}"_s, u"=name="_s + backup}} +
               after4
        << true << QStringList{u"ana"_s, backup};
    QTest::addRow("7.12 yes keeps a backup")
        << u"7.12"_s << 7 << 12 << u"ana"_s << int(Answer::Yes)
        << Commands{print7, {u"/user-manager/user/set"_s, u"=.id={old}"_s, u"=name="_s + backup}} + after7
        << true << QStringList{u"ana"_s, backup};
    QTest::addRow("6.30 no replaces")
        << u"6.30"_s << 6 << 30 << u"ana"_s << int(Answer::No)
        << Commands{print630, {u"/tool/user-manager/user/remove"_s, u"=.id={old}"_s}} + after630 << true
        << QStringList{u"ana"_s};
    QTest::addRow("7.12 no replaces")
        << u"7.12"_s << 7 << 12 << u"ana"_s << int(Answer::No)
        << Commands{print7, {u"/user-manager/user/remove"_s, u"=.id={old}"_s}} + after7 << true
        << QStringList{u"ana"_s};
    QTest::addRow("6.30 cancel") << u"6.30"_s << 6 << 30 << u"ana"_s << int(Answer::Cancel)
                                 << Commands{print630} << false << QStringList{u"ana"_s};
    QTest::addRow("6.30 absent name asks nothing")
        << u"6.30"_s << 6 << 30 << u"bia"_s << int(Answer::Cancel)
        << Commands{{u"/tool/user-manager/user/print"_s, u"?username=bia"_s, u"?customer=admin"_s},
                    {u"/tool/user-manager/user/add"_s, u"=username=bia"_s, u"=password={password}"_s,
                     u"=customer=admin"_s},
                    {u"/tool/user-manager/user/create-and-activate-profile"_s, u"=numbers={id}"_s,
                     u"=customer=admin"_s, u"=profile=1dia"_s}}
        << true << QStringList{u"ana"_s, u"bia"_s};
}

void UserManagerUsersTest::existingUser()
{
    QFETCH(QString, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(Commands, expected);
    QFETCH(bool, created);
    QFETCH(QStringList, namesAfter);

    routersim::RouterState initial = routersim::routerStateOfVersion(version);
    initial.userManagerUsers = {userManagerUser(u"ana"_s, u"velha"_s)};
    routersim::assignMissingIds(initial);
    const QString oldId = initial.userManagerUsers[0].id;

    RouterHarness h(initial);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    setRouterInfo(h.state, major, minor);
    // 2026-12-08 14:05:09 local time (UTC-3).
    h.clock.set(QDateTime(QDate(2026, 12, 8), QTime(17, 5, 9), Qt::UTC).toSecsSinceEpoch());
    h.interaction.answer({Answer(answer)});
    QCOMPARE(createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"1dia"_s), name), created);
    h.closeSession();

    const routersim::RouterState router = h.router().state();
    const routersim::UserManagerUser *newUser = created ? findUser(router, name) : nullptr;
    QCOMPARE(h.commands(), expand(expected, {{u"old"_s, oldId},
                                             {u"id"_s, newUser ? newUser->id : QString()},
                                             {u"password"_s, newUser ? newUser->password : QString()}}));
    QCOMPARE(userNames(router), namesAfter);
    QCOMPARE(h.state.batch.size(), size_t(created ? 1 : 0));
    if (created) {
        QVERIFY(newUser);
        QCOMPARE(h.state.batch.front().Password, newUser->password);
        QVERIFY(newUser->password != u"velha");
    }
    if (const routersim::UserManagerUser *backup = findUser(router, u"ana_261208140509"_s))
        QCOMPARE(backup->password, u"velha"_s);

    const bool asked = name == u"ana";
    QCOMPARE(h.interaction.events.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(h.interaction.events[0].kind, ScriptedInteraction::Kind::YesNoCancel);
        QCOMPARE(h.interaction.events[0].text, ExistsQuestion);
        QCOMPARE(h.interaction.events[0].icon, MessageIcon::Question);
    }
}

void UserManagerUsersTest::refusedAddsAreRetried_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("random");
    QTest::addColumn<QString>("addPath");
    QTest::addColumn<int>("adds");

    QTest::addRow("6.48 random names")
        << u"6.48.6"_s << 6 << 48 << true << u"/tool/user-manager/user/add"_s << 20;
    QTest::addRow("7.12 random names") << u"7.12"_s << 7 << 12 << true << u"/user-manager/user/add"_s << 20;
    QTest::addRow("6.48 given name") << u"6.48.6"_s << 6 << 48 << false << u"/tool/user-manager/user/add"_s
                                     << 2;
    QTest::addRow("4.17 given name") << u"4.17"_s << 4 << 17 << false << u"/tool/user-manager/user/add"_s
                                     << 2;
}

void UserManagerUsersTest::refusedAddsAreRetried()
{
    QFETCH(QString, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, random);
    QFETCH(QString, addPath);
    QFETCH(int, adds);

    routersim::RouterBehaviour refusing;
    refusing.refuseAdds = true;
    RouterHarness h(routersim::routerStateOfVersion(version), refusing);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    setRouterInfo(h.state, major, minor);
    QVERIFY(!createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"1dia"_s),
                                      random ? std::nullopt : std::optional<QString>(u"ana"_s)));
    h.closeSession();

    Commands commands = h.commands();
    if (!random) // the existence check comes first
        QVERIFY(commands.takeFirst().value(0).endsWith(u"/user/print"_s));
    QCOMPARE(firstWords(commands), QStringList(adds, addPath));
    QStringList names;
    for (const QStringList &add : commands) {
        names.append(add.value(1));
        // The password is made once; only a random name is renewed.
        QCOMPARE(add.value(2), commands[0].value(2));
    }
    names.removeDuplicates();
    QCOMPARE(names.size(), random ? adds : 1);

    QVERIFY(h.state.batch.empty());
    QCOMPARE(h.interaction.events.size(), 1);
    QCOMPARE(h.interaction.events[0].text,
             CreationFailed + u"\nResposta do router \"not enough permissions (9)\"."_s);
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);
}

void UserManagerUsersTest::refusedRandomNameIsReplaced()
{
    const auto profile = userManagerProfile(u"1dia"_s);
    RouterHarness h(routersim::routerStateOfVersion(u"6.48.6"_s));
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    setRouterInfo(h.state, 6, 48);
    // Generated names cannot be foreseen: the name the first attempt will use
    // is taken on the router while the user-data prompt shows it.
    h.state.settings.QueryUserData = true;
    QString taken;
    h.prompt.then([&h, &taken](VoucherRecord &record) {
        taken = record.UserName;
        routersim::RouterState router = h.router().state();
        router.userManagerUsers.append(userManagerUser(record.UserName, u"velha"_s));
        h.router().setState(router);
        return true;
    });
    QVERIFY(createUserManagerVoucher(h.voucherContext(), profile, std::nullopt));
    h.closeSession();

    QCOMPARE(h.prompt.shown.size(), 1);
    QVERIFY2(taken.startsWith(u"user"_s) && taken.size() == 10, qPrintable(taken));
    const VoucherRecord &record = h.state.batch.front();
    QVERIFY(record.UserName != taken);
    QVERIFY2(record.UserName.startsWith(u"user"_s) && record.UserName.size() == 10,
             qPrintable(record.UserName));
    const Commands commands = h.commands();
    QCOMPARE(firstWords(commands),
             (QStringList{u"/tool/user-manager/user/add"_s, u"/tool/user-manager/user/add"_s,
                          u"/tool/user-manager/user/create-and-activate-profile"_s}));
    QCOMPARE(commands[0].value(1), u"=username="_s + taken);
    QCOMPARE(commands[1].value(1), u"=username="_s + record.UserName);
    QCOMPARE(commands[0].value(2), u"=password="_s + record.Password);
    QCOMPARE(commands[1].value(2), u"=password="_s + record.Password);
    QStringList names = {taken, record.UserName};
    names.sort();
    QCOMPARE(userNames(h.router().state()), names);
    QCOMPARE(findUser(h.router().state(), taken)->password, u"velha"_s);
    QCOMPARE(h.interaction.events.size(), 0);
}

void UserManagerUsersTest::profileNotAssigned_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("usersLeft");

    const QString add6 = u"/tool/user-manager/user/add"_s;
    const QString activate = u"/tool/user-manager/user/create-and-activate-profile"_s;
    const QString add7 = u"/user-manager/user/add"_s;
    const QString assign = u"/user-manager/user-profile/add"_s;
    const QString refused = CreationFailed +
                            u"\nNão é possível atribuir perfil de usuário. Resposta do Router "
                            "\"input does not match any value of profile\"."_s;

    // A failed pass leaves its user behind; the second pass makes another.
    QTest::addRow("6.48 random") << u"6.48.6"_s << 6 << 48 << QString()
                                 << QStringList{add6, activate, add6, activate} << refused << 2;
    QTest::addRow("5.26 random") << u"5.26"_s << 5 << 26 << QString()
                                 << QStringList{add6, activate, add6, activate} << refused << 2;
    QTest::addRow("7.12 random") << u"7.12"_s << 7 << 12 << QString()
                                 << QStringList{add7, assign, add7, assign} << refused << 2;
    // The second pass's add of the same name is refused, and that refusal is the last word.
    QTest::addRow("6.48 given")
        << u"6.48.6"_s << 6 << 48 << u"ana"_s
        << QStringList{u"/tool/user-manager/user/print"_s, add6, activate, add6}
        << CreationFailed + u"\nResposta do router \"failure: already have user with this name\"."_s << 1;
}

void UserManagerUsersTest::profileNotAssigned()
{
    QFETCH(QString, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, given);
    QFETCH(QStringList, paths);
    QFETCH(QString, message);
    QFETCH(int, usersLeft);

    RouterHarness h(routersim::routerStateOfVersion(version));
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    setRouterInfo(h.state, major, minor);
    // A profile the router does not have.
    QVERIFY(!createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"3dias"_s),
                                      given.isEmpty() ? std::nullopt : std::optional<QString>(given)));
    h.closeSession();

    QCOMPARE(firstWords(h.commands()), paths);
    QVERIFY(h.state.batch.empty());
    QCOMPARE(h.interaction.texts(), QStringList{message});
    QCOMPARE(h.interaction.events[0].icon, MessageIcon::Error);
    QCOMPARE(int(h.router().state().userManagerUsers.size()), usersLeft);
}

void UserManagerUsersTest::judgesRouterReplies_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<QList<QByteArray>>("replies"); // one per command sent
    QTest::addColumn<Commands>("expected");
    QTest::addColumn<bool>("created");
    QTest::addColumn<QString>("message");

    const QByteArray done = apiSentence({"!done"});
    const QByteArray nothing = done;
    const auto added = [](const QByteArray &id) { return apiSentence({"!done", "=ret=" + id}); };
    const auto refusal = [](const QByteArray &text) {
        return apiSentence({"!trap", "=message=" + text}) + apiSentence({"!done"});
    };
    const auto userRow = [](const QList<QByteArray> &words) {
        return apiSentence(QList<QByteArray>{"!re"} + words) + apiSentence({"!done"});
    };

    const QStringList print4 = {u"/tool/user-manager/user/print"_s, u"?name=ana"_s};
    const QStringList exists4 = print4 + QStringList{u"?subscriber=admin"_s};
    const QStringList add4 = {u"/tool/user-manager/user/add"_s, u"=name=ana"_s, u"=password="_s,
                              u"=subscriber=admin"_s, u"=add-credit=1dia"_s};
    const QStringList rebuild = {u"/tool/user-manager/database/rebuild"_s};
    const QStringList print6 = {u"/tool/user-manager/user/print"_s, u"?username=ana"_s, u"?customer=admin"_s};
    const QStringList add6 = {u"/tool/user-manager/user/add"_s, u"=username=ana"_s, u"=password="_s,
                              u"=customer=admin"_s};
    const auto activate = [](const QString &id) {
        return QStringList{u"/tool/user-manager/user/create-and-activate-profile"_s, u"=numbers="_s + id,
                           u"=customer=admin"_s, u"=profile=1dia"_s};
    };
    const QStringList print7 = {u"/user-manager/user/print"_s, u"?name=ana"_s};
    const QStringList add7 = {u"/user-manager/user/add"_s, u"=name=ana"_s, u"=password="_s};
    const QStringList assign7 = {u"/user-manager/user-profile/add"_s, u"=user=ana"_s, u"=profile=1dia"_s};

    QTest::addRow("4 found after a rebuild")
        << 4 << QList<QByteArray>{nothing, added("*5"), nothing, done, userRow({"=.id=*5", "=name=ana"})}
        << Commands{exists4, add4, print4, rebuild, print4} << true << QString();
    QTest::addRow("4 never found") << 4
                                   << QList<QByteArray>{nothing,     added("*5"), nothing, done,   nothing,
                                                        added("*6"), nothing,     done,    nothing}
                                   << Commands{exists4, add4,   print4,  rebuild, print4,
                                               add4,    print4, rebuild, print4}
                                   << false << CreationFailed;
    QTest::addRow("6 profile compared ignoring case")
        << 6
        << QList<QByteArray>{nothing, added("*7"), done,
                             userRow({"=.id=*7", "=username=ana", "=actual-profile=1DIA"})}
        << Commands{print6, add6, activate(u"*7"_s), print6} << true << QString();
    QTest::addRow("6 other profile, then the right one after a rebuild")
        << 6 << QList<QByteArray>{nothing, added("*7"),
                                  done,    userRow({"=.id=*7", "=actual-profile=7dias"}),
                                  done,    userRow({"=.id=*7", "=actual-profile=1dia"})}
        << Commands{print6, add6, activate(u"*7"_s), print6, rebuild, print6} << true << QString();
    QTest::addRow("6 ret outside the done sentence")
        << 6 << QList<QByteArray>{nothing, userRow({"=ret=*7"}), userRow({"=ret=*8"})}
        << Commands{print6, add6, add6} << false << CreationFailed;
    // UTF-8 when the bytes are UTF-8, else the Windows code page; the last refusal is told.
    QTest::addRow("6 refusals in two encodings")
        << 6
        << QList<QByteArray>{nothing, refusal("nome inv\xc3\xa1lido"), refusal("usu\xe1rio j\xe1 existe")}
        << Commands{print6, add6, add6} << false
        << CreationFailed + u"\nResposta do router \"usuário já existe\"."_s;
    // The activation starts with an empty error text, so the earlier refusal is not told.
    QTest::addRow("6 activation without answer")
        << 6 << QList<QByteArray>{nothing, refusal("ocupado"), added("*8")}
        << Commands{print6, add6, add6, activate(u"*8"_s)} << false << CreationFailed;
    QTest::addRow("7 assignment refused in Windows-1252")
        << 7
        << QList<QByteArray>{nothing, added("*7"), refusal("perfil inv\xe1lido"), added("*8"),
                             refusal("perfil inv\xe1lido")}
        << Commands{print7, add7, assign7, add7, assign7} << false
        << CreationFailed +
               u"\nNão é possível atribuir perfil de usuário. Resposta do Router \"perfil inválido\"."_s;
}

void UserManagerUsersTest::judgesRouterReplies()
{
    QFETCH(int, major);
    QFETCH(QList<QByteArray>, replies);
    QFETCH(Commands, expected);
    QFETCH(bool, created);
    QFETCH(QString, message);

    RouterHarness h;
    auto transport = std::make_unique<MemoryTransport>();
    MemoryTransport &router = *transport;
    for (const QByteArray &reply : replies)
        router.answerNextSend(reply);
    h.connection.transport = std::move(transport);
    setRouterInfo(h.state, major, major == 6 ? 48 : 12);
    h.state.settings.VerifyCreatedUser = true;
    h.state.settings.CreateRandomPassword = false;
    QCOMPARE(createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"1dia"_s), u"ana"_s), created);

    QCOMPARE(sentCommands(router), expected);
    QCOMPARE(h.state.batch.size(), size_t(created ? 1 : 0));
    QCOMPARE(h.interaction.texts(), message.isEmpty() ? QStringList() : QStringList{message});
}

void UserManagerUsersTest::recordTimesAndSerial_data()
{
    QTest::addColumn<QString>("validity");
    QTest::addColumn<qint64>("seconds");
    QTest::addRow("clock") << u"1d 02:30:15"_s << qint64(95415);
    QTest::addRow("weeks") << u"1w2d"_s << qint64(777600);
    QTest::addRow("no unit") << u"90"_s << qint64(0);
}

void UserManagerUsersTest::recordTimesAndSerial()
{
    QFETCH(QString, validity);
    QFETCH(qint64, seconds);

    routersim::RouterState initial = routersim::routerStateOfVersion(u"6.48.6"_s);
    initial.userManagerProfiles.append({{}, u"outro"_s, u"1.00"_s, validity, u"admin"_s});
    RouterHarness h(initial);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    setRouterInfo(h.state, 6, 48);
    h.state.settings.VoucherSerial = 41;
    h.clock.set(1790000000);
    QVERIFY(createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"outro"_s, validity), u"ana"_s));
    h.closeSession();

    const VoucherRecord &record = h.state.batch.front();
    QCOMPARE(record.Created, qint64(1790000000));
    QCOMPARE(record.Expires, qint64(1790000000) + seconds);
    QCOMPARE(record.Serial, 41u);
    QCOMPARE(h.state.settings.VoucherSerial, 42u);
    QCOMPARE(record.Generator, u"caixa"_s);
    QCOMPARE(record.UserName, u"ana"_s);
    QVERIFY(!record.RandomName);
}

void UserManagerUsersTest::promptCancelled_data()
{
    QTest::addColumn<bool>("queryPassword");
    QTest::addColumn<bool>("queryUserData");
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("passwordShown");
    QTest::addRow("manual password") << true << false << u"ana"_s << 0;
    QTest::addRow("user data") << false << true << u"ana"_s << 6;
    QTest::addRow("empty given name") << false << false << QString() << 6;
}

void UserManagerUsersTest::promptCancelled()
{
    QFETCH(bool, queryPassword);
    QFETCH(bool, queryUserData);
    QFETCH(QString, given);
    QFETCH(int, passwordShown);

    routersim::RouterState initial = routersim::routerStateOfVersion(u"6.48.6"_s);
    initial.userManagerUsers = {userManagerUser(u"ana"_s, u"velha"_s)};
    RouterHarness h(initial);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    setRouterInfo(h.state, 6, 48);
    h.state.settings.QueryPassword = queryPassword;
    h.state.settings.QueryUserData = queryUserData;
    h.prompt.then([](VoucherRecord &) { return false; });
    QVERIFY(!createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"1dia"_s), given));
    h.closeSession();

    QCOMPARE(h.prompt.shown.size(), 1);
    QCOMPARE(h.prompt.shown[0].UserName, given);
    QCOMPARE(h.prompt.shown[0].Password.size(), passwordShown);
    QVERIFY(h.state.batch.empty());
    QCOMPARE(h.commands(), Commands());
    QCOMPARE(h.interaction.events.size(), 0);
}

void UserManagerUsersTest::promptEditsAreSent()
{
    routersim::RouterState initial = routersim::routerStateOfVersion(u"6.48.6"_s);
    initial.userManagerUsers = {userManagerUser(u"ana"_s, u"velha"_s)};
    RouterHarness h(initial);
    QVERIFY(h.start());
    QVERIFY(h.openSession());
    setRouterInfo(h.state, 6, 48);
    h.state.settings.QueryPassword = true;
    // The operator renames the voucher to one that is free, and types the password.
    h.prompt.then([](VoucherRecord &record) {
        record.UserName = u"bia"_s;
        record.Password = u"segredo"_s;
        return true;
    });
    QVERIFY(createUserManagerVoucher(h.voucherContext(), userManagerProfile(u"1dia"_s), u"ana"_s));
    h.closeSession();

    const Commands commands = h.commands();
    QCOMPARE(commands.value(0),
             (QStringList{u"/tool/user-manager/user/print"_s, u"?username=bia"_s, u"?customer=admin"_s}));
    QCOMPARE(commands.value(1), (QStringList{u"/tool/user-manager/user/add"_s, u"=username=bia"_s,
                                             u"=password=segredo"_s, u"=customer=admin"_s}));
    QCOMPARE(commands.size(), 3);
    QCOMPARE(h.interaction.events.size(), 0);
    const routersim::UserManagerUser *bia = findUser(h.router().state(), u"bia"_s);
    QVERIFY(bia);
    QCOMPARE(bia->password, u"segredo"_s);
    QCOMPARE(findUser(h.router().state(), u"ana"_s)->password, u"velha"_s);
}

void UserManagerUsersTest::removesUserManagerUser_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Commands>("expected");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");

    const QStringList resource = {u"/system/resource/print"_s};
    const QStringList removeOld = {u"/tool/user-manager/user/remove"_s, u"=.id={old}"_s};
    QTest::addRow("4.17") << u"4.17"_s << u"ana"_s
                          << Commands{resource,
                                      {u"/tool/user-manager/user/print"_s, u"?name=ana"_s},
                                      removeOld}
                          << 4 << 17;
    QTest::addRow("6.29") << u"6.29"_s << u"ana"_s
                          << Commands{resource,
                                      {u"/tool/user-manager/user/print"_s, u"?name=ana"_s},
                                      removeOld}
                          << 6 << 29;
    QTest::addRow("6.30") << u"6.30"_s << u"ana"_s
                          << Commands{resource,
                                      {u"/tool/user-manager/user/print"_s, u"?username=ana"_s},
                                      removeOld}
                          << 6 << 30;
    QTest::addRow("7.12") << u"7.12"_s << u"ana"_s
                          << Commands{resource,
                                      {u"/user-manager/user/print"_s, u"?name=ana"_s},
                                      {u"/user-manager/user/remove"_s, u"=.id={old}"_s}}
                          << 7 << 12;
    QTest::addRow("6.30 not found") << u"6.30"_s << u"zé"_s
                                    << Commands{resource,
                                                {u"/tool/user-manager/user/print"_s, u"?username=zé"_s}}
                                    << 6 << 30;
}

void UserManagerUsersTest::removesUserManagerUser()
{
    QFETCH(QString, version);
    QFETCH(QString, name);
    QFETCH(Commands, expected);
    QFETCH(int, major);
    QFETCH(int, minor);

    routersim::RouterState initial = routersim::routerStateOfVersion(version);
    initial.userManagerUsers = {userManagerUser(u"ana"_s, u"1"_s), userManagerUser(u"bia"_s, u"2"_s)};
    routersim::assignMissingIds(initial);
    RouterHarness h(initial);
    QVERIFY(h.start());
    const bool found = name == u"ana";
    QCOMPARE(removeRouterUser(h.state.routers[0], name, false, h.state.routerInfo, h.interaction), found);

    QCOMPARE(h.commands(), expand(expected, {{u"old"_s, initial.userManagerUsers[0].id}}));
    QCOMPARE(userNames(h.router().state()),
             (found ? QStringList{u"bia"_s} : QStringList{u"ana"_s, u"bia"_s}));
    // The removal reads the version afresh.
    QCOMPARE(h.state.routerInfo.Major, major);
    QCOMPARE(h.state.routerInfo.Minor, minor);
    QCOMPARE(h.interaction.texts(),
             found ? QStringList()
                   : QStringList{u"Você não pode excluir o usuário. Usuário não encontrado."_s});
}

WIFITICKETER_TEST(UserManagerUsersTest)
#include "router/routersession.h"
#include "usermanageruserstest.moc"
