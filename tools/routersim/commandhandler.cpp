#include "commandhandler.h"

#include "recordfields.h"
#include "routerversion.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace routersim {

namespace {

using Attributes = QList<std::pair<QString, QString>>;

const char *const InvalidLogin = "invalid user name or password (6)";
const char *const NoSuchItem = "no such item";
const char *const UnknownParameter = "unknown parameter";

// A received command taken apart.
struct Command
{
    QString path;
    Attributes attributes;         // "=key=value" words in order
    QStringList queries;           // "?" words without the question mark
    std::optional<QByteArray> tag; // the value of the ".tag=" word, echoed in every answer
    bool strayWord = false;        // a word that is neither attribute nor query
};

struct Context
{
    const Command &command;
    RouterState &state;
    const RouterBehaviour &behaviour;
    Session &session;
    RouterVersion version;
};

Command parseCommand(const Sentence &sentence)
{
    Command command;
    command.path = QString::fromUtf8(sentence.first());
    for (qsizetype i = 1; i < sentence.size(); ++i) {
        const QByteArray &word = sentence[i];
        // The tag is a word of its own; "=.tag=" is an ordinary attribute
        // that tags nothing.
        if (word.startsWith(".tag=")) {
            command.tag = word.mid(5);
        } else if (word.startsWith('=')) {
            const qsizetype split = word.indexOf('=', 1);
            const QByteArray key = split < 0 ? word.mid(1) : word.mid(1, split - 1);
            const QByteArray value = split < 0 ? QByteArray() : word.mid(split + 1);
            command.attributes.append({QString::fromUtf8(key), QString::fromUtf8(value)});
        } else if (word.startsWith('?')) {
            command.queries.append(QString::fromUtf8(word.mid(1)));
        } else {
            command.strayWord = true;
        }
    }
    return command;
}

std::optional<QString> attribute(const Command &command, const QString &key)
{
    for (const auto &[name, value] : command.attributes) {
        if (name == key)
            return value;
    }
    return std::nullopt;
}

QByteArray attributeWord(const QString &key, const QString &value)
{
    return '=' + key.toUtf8() + '=' + value.toUtf8();
}

Reply done(const Sentence &attributes = {})
{
    return {{Sentence{"!done"} + attributes}};
}

Reply trap(const QString &message)
{
    return {{{"!trap", attributeWord(QStringLiteral("message"), message)}, {"!done"}}};
}

// How one record list is reached by commands.
template<class T>
struct Menu
{
    QList<T> RouterState::*records = nullptr;
    const char *uniqueKey = nullptr; // the attribute no two records may share
    const char *noun = nullptr;      // the record in refusals
    // The attribute's name on this RouterOS version; empty when that version has none.
    QString (*wireKey)(const QString &key, RouterVersion version) = nullptr;
    // Why a record cannot be stored as it is.
    std::optional<QString> (*check)(const T &record, const RouterState &state,
                                    RouterVersion version) = nullptr;
};

template<class T>
QString keyOn(const Menu<T> &menu, const QString &key, RouterVersion version)
{
    return menu.wireKey ? menu.wireKey(key, version) : key;
}

template<class T>
QString fieldValue(const T &record, const Field<T> &field)
{
    if (field.flag)
        return record.*field.flag ? QStringLiteral("true") : QStringLiteral("false");
    return record.*field.text;
}

template<class T>
QString valueOf(const T &record, const QString &key)
{
    for (const Field<T> &field : recordFields<T>()) {
        if (field.key == key)
            return fieldValue(record, field);
    }
    return {};
}

template<class T>
bool hasRecord(const QList<T> &records, const QString &key, const QString &value)
{
    return std::any_of(records.begin(), records.end(),
                       [&](const T &record) { return valueOf(record, key) == value; });
}

// What a print shows of a record, ".id" first, with the names this version uses.
template<class T>
Attributes printedAttributes(const T &record, const Menu<T> &menu, RouterVersion version)
{
    Attributes attributes{{QStringLiteral(".id"), record.id}};
    for (const Field<T> &field : recordFields<T>()) {
        const QString key = keyOn(menu, field.key, version);
        if (!key.isEmpty() && field.access != FieldAccess::WriteOnly)
            attributes.append({key, fieldValue(record, field)});
    }
    return attributes;
}

// "?key=value" or "?=key=value" (equal), "?key" (has a value), "?-key" (has
// none); all must hold.
bool matchesQueries(const Attributes &attributes, const QStringList &queries)
{
    const auto find = [&attributes](const QString &key) -> std::optional<QString> {
        for (const auto &[name, value] : attributes) {
            if (name == key)
                return value;
        }
        return std::nullopt;
    };
    for (const QString &word : queries) {
        const QString query = word.startsWith(u'=') ? word.mid(1) : word;
        const qsizetype equals = query.indexOf(u'=');
        if (query.startsWith(u'-')) {
            const std::optional<QString> value = find(query.mid(1));
            if (value && !value->isEmpty())
                return false;
        } else if (equals >= 0) {
            if (find(query.left(equals)) != query.mid(equals + 1))
                return false;
        } else {
            const std::optional<QString> value = find(query);
            if (!value || value->isEmpty())
                return false;
        }
    }
    return true;
}

template<class T>
std::optional<QString> assign(T &record, const Menu<T> &menu, RouterVersion version, const QString &key,
                              const QString &value)
{
    for (const Field<T> &field : recordFields<T>()) {
        const QString wireKey = keyOn(menu, field.key, version);
        if (field.access == FieldAccess::ReadOnly || wireKey.isEmpty() || wireKey != key)
            continue;
        if (field.text) {
            record.*field.text = value;
        } else if (value == u"yes" || value == u"true") {
            record.*field.flag = true;
        } else if (value == u"no" || value == u"false") {
            record.*field.flag = false;
        } else {
            return QStringLiteral("value of %1 must be yes or no").arg(key);
        }
        return std::nullopt;
    }
    return QString::fromLatin1(UnknownParameter);
}

// Why the record (new, or changed and still in the state) cannot be stored.
template<class T>
std::optional<QString> refusal(const T &record, const Menu<T> &menu, const RouterState &state,
                               RouterVersion version)
{
    if (menu.uniqueKey) {
        const QString key = QString::fromLatin1(menu.uniqueKey);
        const QString value = valueOf(record, key);
        if (value.isEmpty())
            return QStringLiteral("failure: %1 name missing").arg(QLatin1StringView(menu.noun));
        for (const T &other : state.*menu.records) {
            if (other.id != record.id && valueOf(other, key) == value)
                return QStringLiteral("failure: already have %1 with this name")
                    .arg(QLatin1StringView(menu.noun));
        }
    }
    return menu.check ? menu.check(record, state, version) : std::nullopt;
}

// The positions of the records that "=.id=" or "=numbers=" names (ids separated
// by commas); nothing when either is missing or an id is unknown.
template<class T>
std::optional<QList<qsizetype>> targets(const Context &c, const Menu<T> &menu)
{
    std::optional<QString> ids = attribute(c.command, QStringLiteral(".id"));
    if (!ids)
        ids = attribute(c.command, QStringLiteral("numbers"));
    if (!ids)
        return std::nullopt;
    const QList<T> &records = c.state.*menu.records;
    QList<qsizetype> positions;
    for (const QString &id : ids->split(u',')) {
        const auto found =
            std::find_if(records.begin(), records.end(), [&id](const T &record) { return record.id == id; });
        if (found == records.end())
            return std::nullopt;
        if (!positions.contains(found - records.begin()))
            positions.append(found - records.begin());
    }
    return positions;
}

bool isTargetWord(const QString &key)
{
    return key == u".id" || key == u"numbers";
}

template<class T>
Reply print(Context &c, const Menu<T> &menu)
{
    Reply reply;
    for (const T &record : c.state.*menu.records) {
        const Attributes attributes = printedAttributes(record, menu, c.version);
        if (!matchesQueries(attributes, c.command.queries))
            continue;
        Sentence sentence{"!re"};
        for (const auto &[key, value] : attributes) {
            if (!value.isEmpty())
                sentence.append(attributeWord(key, value));
        }
        reply.sentences.append(sentence);
    }
    reply.sentences.append({"!done"});
    return reply;
}

template<class T>
Reply add(Context &c, const Menu<T> &menu)
{
    T record;
    for (const auto &[key, value] : c.command.attributes) {
        if (const std::optional<QString> error = assign(record, menu, c.version, key, value))
            return trap(*error);
    }
    if (const std::optional<QString> error = refusal(record, menu, c.state, c.version))
        return trap(*error);
    record.id = takeId(c.state);
    (c.state.*menu.records).append(record);
    return done({attributeWord(QStringLiteral("ret"), record.id)});
}

template<class T>
Reply set(Context &c, const Menu<T> &menu)
{
    const std::optional<QList<qsizetype>> positions = targets(c, menu);
    if (!positions)
        return trap(QString::fromLatin1(NoSuchItem));
    // Changes are made on a copy and kept only when every record passes.
    RouterState changed = c.state;
    for (const qsizetype position : *positions) {
        T &record = (changed.*menu.records)[position];
        for (const auto &[key, value] : c.command.attributes) {
            if (isTargetWord(key))
                continue;
            if (const std::optional<QString> error = assign(record, menu, c.version, key, value))
                return trap(*error);
        }
        if (const std::optional<QString> error = refusal(record, menu, changed, c.version))
            return trap(*error);
    }
    c.state = changed;
    return done();
}

template<class T>
Reply remove(Context &c, const Menu<T> &menu)
{
    std::optional<QList<qsizetype>> positions = targets(c, menu);
    if (!positions)
        return trap(QString::fromLatin1(NoSuchItem));
    std::sort(positions->begin(), positions->end(), std::greater<>());
    for (const qsizetype position : *positions)
        (c.state.*menu.records).removeAt(position);
    return done();
}

std::optional<QString> checkHotspotUser(const HotspotUser &user, const RouterState &state, RouterVersion)
{
    if (!hasRecord(state.hotspotUserProfiles, QStringLiteral("name"), user.profile))
        return QStringLiteral("input does not match any value of profile");
    if (!user.server.isEmpty() && user.server != u"all" &&
        !hasRecord(state.hotspotServers, QStringLiteral("name"), user.server))
        return QStringLiteral("input does not match any value of server");
    return std::nullopt;
}

// User Manager users: "=username=" from 6.30 until 7; the owner is a
// subscriber on 4, a customer on 5 and 6, and gone on 7 together with the
// personal data; a credit is given on 4, a profile activated on 5 and 6.
QString userManagerUserKey(const QString &key, RouterVersion version)
{
    const bool seven = version.major >= 7;
    if (key == u"name")
        return version.major == 6 && version.minor >= 30 ? QStringLiteral("username") : key;
    if (key == u"customer")
        return seven ? QString() : version.major == 4 ? QStringLiteral("subscriber") : key;
    if (key == u"first-name" || key == u"last-name" || key == u"phone" || key == u"location" ||
        key == u"email")
        return seven ? QString() : key;
    if (key == u"actual-profile")
        return version.major == 5 || version.major == 6 ? key : QString();
    if (key == u"credit")
        return version.major == 4 ? QStringLiteral("add-credit") : QString();
    return key;
}

std::optional<QString> checkUserManagerUser(const UserManagerUser &user, const RouterState &state,
                                            RouterVersion version)
{
    if (!user.customer.isEmpty() && !hasRecord(state.customers, QStringLiteral("login"), user.customer))
        return QStringLiteral("input does not match any value of ") +
               userManagerUserKey(QStringLiteral("customer"), version);
    if (!user.credit.isEmpty() && !hasRecord(state.userManagerCredits, QStringLiteral("name"), user.credit))
        return QStringLiteral("input does not match any value of add-credit");
    return std::nullopt;
}

std::optional<QString> checkAssignment(const UserProfileAssignment &assignment, const RouterState &state,
                                       RouterVersion)
{
    if (!hasRecord(state.userManagerUsers, QStringLiteral("name"), assignment.user))
        return QStringLiteral("input does not match any value of user");
    if (!hasRecord(state.userManagerProfiles, QStringLiteral("name"), assignment.profile))
        return QStringLiteral("input does not match any value of profile");
    return std::nullopt;
}

const Menu<HotspotUser> HotspotUsers{
    .records = &RouterState::hotspotUsers, .uniqueKey = "name", .noun = "user", .check = checkHotspotUser};
const Menu<HotspotUserProfile> HotspotUserProfiles{.records = &RouterState::hotspotUserProfiles};
const Menu<HotspotServer> HotspotServers{.records = &RouterState::hotspotServers};
const Menu<UserManagerProfile> UserManagerProfiles{.records = &RouterState::userManagerProfiles};
const Menu<UserManagerCredit> UserManagerCredits{.records = &RouterState::userManagerCredits};
const Menu<UserManagerCustomer> Customers{.records = &RouterState::customers};
const Menu<UserManagerUser> UserManagerUsers{.records = &RouterState::userManagerUsers,
                                             .uniqueKey = "name",
                                             .noun = "user",
                                             .wireKey = userManagerUserKey,
                                             .check = checkUserManagerUser};
const Menu<UserProfileAssignment> UserProfiles{.records = &RouterState::userProfiles,
                                               .check = checkAssignment};
const Menu<Script> Scripts{.records = &RouterState::scripts, .uniqueKey = "name", .noun = "script"};
const Menu<SchedulerEntry> Schedulers{
    .records = &RouterState::schedulers, .uniqueKey = "name", .noun = "scheduler"};

Reply login(Context &c)
{
    const std::optional<QString> name = attribute(c.command, QStringLiteral("name"));
    const LoginMode mode = c.behaviour.login;
    if (!name) {
        switch (mode) {
        case LoginMode::Challenge:
        case LoginMode::Both: {
            c.session.challenge = QByteArray(16, '\0');
            for (char &byte : c.session.challenge)
                byte = char(QRandomGenerator::global()->bounded(256));
            return done(
                {attributeWord(QStringLiteral("ret"), QString::fromLatin1(c.session.challenge.toHex()))});
        }
        case LoginMode::Plain:
            return done();
        case LoginMode::PlainTrap:
            return trap(QString::fromLatin1(InvalidLogin));
        }
    }
    const auto user = std::find_if(c.state.apiUsers.begin(), c.state.apiUsers.end(),
                                   [&name](const ApiUser &candidate) { return candidate.name == *name; });
    const std::optional<QString> response = attribute(c.command, QStringLiteral("response"));
    const std::optional<QString> password = attribute(c.command, QStringLiteral("password"));
    bool accepted = false;
    if (user == c.state.apiUsers.end()) {
        accepted = false;
    } else if (response && (mode == LoginMode::Challenge || mode == LoginMode::Both)) {
        // Judged by the response alone: a "=password=" beside it is not looked at.
        accepted =
            !c.session.challenge.isEmpty() &&
            response->toLatin1().toLower() == expectedResponse(user->password.toUtf8(), c.session.challenge);
    } else if (mode != LoginMode::Challenge) {
        accepted = password == user->password;
    }
    c.session.challenge.clear(); // a challenge answers one login only
    if (!accepted)
        return trap(QString::fromLatin1(InvalidLogin));
    c.session.loggedIn = true;
    c.session.user = *name;
    return done();
}

Reply resourcePrint(Context &c)
{
    return {
        {{"!re", attributeWord(QStringLiteral("version"), c.state.version), "=board-name=CHR"}, {"!done"}}};
}

// RouterOS 5 and 6.0 to 6.1 name the user with "=user="; later versions take
// its id in "=numbers=". Only the form of the version is accepted, so a client
// that mixes them up is refused as such a router refuses it.
Reply createAndActivateProfile(Context &c)
{
    const bool byName = c.version.major == 5 || (c.version.major == 6 && c.version.minor <= 1);
    const QString userKey = byName ? QStringLiteral("user") : QStringLiteral("numbers");
    std::optional<QString> user, customer, profile;
    for (const auto &[key, value] : c.command.attributes) {
        if (key == userKey)
            user = value;
        else if (key == u"customer")
            customer = value;
        else if (key == u"profile")
            profile = value;
        else
            return trap(QString::fromLatin1(UnknownParameter));
    }
    QList<UserManagerUser> &users = c.state.userManagerUsers;
    const auto found = std::find_if(users.begin(), users.end(), [&](const UserManagerUser &candidate) {
        return user && (byName ? candidate.name : candidate.id) == *user;
    });
    if (found == users.end())
        return trap(QString::fromLatin1(NoSuchItem));
    if (customer && !hasRecord(c.state.customers, QStringLiteral("login"), *customer))
        return trap(QStringLiteral("input does not match any value of customer"));
    if (!profile || !hasRecord(c.state.userManagerProfiles, QStringLiteral("name"), *profile))
        return trap(QStringLiteral("input does not match any value of profile"));
    found->actualProfile = *profile;
    return done();
}

using Availability = bool (*)(RouterVersion);

bool always(RouterVersion)
{
    return true;
}

bool belowSeven(RouterVersion version)
{
    return version.major < 7;
}

bool fromSeven(RouterVersion version)
{
    return version.major >= 7;
}

bool sellsCredits(RouterVersion version)
{
    return version.major == 4;
}

bool sellsProfilesBelowSeven(RouterVersion version)
{
    return version.major != 4 && version.major < 7;
}

bool activatesProfiles(RouterVersion version)
{
    return version.major == 5 || version.major == 6;
}

struct CommandEntry
{
    QString path;
    Availability available;
    std::function<Reply(Context &)> handle;
};

template<class T>
CommandEntry printCommand(const QString &menuPath, Availability available, const Menu<T> &menu)
{
    return {menuPath + QStringLiteral("/print"), available, [&menu](Context &c) { return print(c, menu); }};
}

template<class T>
QList<CommandEntry> recordCommands(const QString &menuPath, Availability available, const Menu<T> &menu)
{
    return {
        printCommand(menuPath, available, menu),
        {menuPath + QStringLiteral("/add"), available, [&menu](Context &c) { return add(c, menu); }},
        {menuPath + QStringLiteral("/set"), available, [&menu](Context &c) { return set(c, menu); }},
        {menuPath + QStringLiteral("/remove"), available, [&menu](Context &c) { return remove(c, menu); }},
    };
}

const QList<CommandEntry> &commands()
{
    static const QList<CommandEntry> table = [] {
        QList<CommandEntry> entries{
            {QStringLiteral("/system/resource/print"), always, resourcePrint},
            printCommand(QStringLiteral("/ip/hotspot/user/profile"), always, HotspotUserProfiles),
            printCommand(QStringLiteral("/ip/hotspot"), always, HotspotServers),
            printCommand(QStringLiteral("/tool/user-manager/profile"), sellsProfilesBelowSeven,
                         UserManagerProfiles),
            printCommand(QStringLiteral("/tool/user-manager/credit"), sellsCredits, UserManagerCredits),
            printCommand(QStringLiteral("/tool/user-manager/customer"), belowSeven, Customers),
            {QStringLiteral("/tool/user-manager/user/create-and-activate-profile"), activatesProfiles,
             createAndActivateProfile},
            {QStringLiteral("/tool/user-manager/database/rebuild"), belowSeven,
             [](Context &) { return done(); }},
            printCommand(QStringLiteral("/user-manager/profile"), fromSeven, UserManagerProfiles),
        };
        entries += recordCommands(QStringLiteral("/system/script"), always, Scripts);
        entries += recordCommands(QStringLiteral("/system/scheduler"), always, Schedulers);
        entries += recordCommands(QStringLiteral("/ip/hotspot/user"), always, HotspotUsers);
        entries += recordCommands(QStringLiteral("/tool/user-manager/user"), belowSeven, UserManagerUsers);
        entries += recordCommands(QStringLiteral("/user-manager/user"), fromSeven, UserManagerUsers);
        entries += recordCommands(QStringLiteral("/user-manager/user-profile"), fromSeven, UserProfiles);
        return entries;
    }();
    return table;
}

// "no such command" when the menu exists on this version, else "no such command prefix".
QString unknownCommandMessage(const Context &c)
{
    const QString menu = c.command.path.left(c.command.path.lastIndexOf(u'/') + 1);
    const bool menuExists =
        menu.size() > 1 && std::any_of(commands().begin(), commands().end(), [&](const auto &entry) {
            return entry.available(c.version) && entry.path.startsWith(menu);
        });
    return menuExists ? QStringLiteral("no such command") : QStringLiteral("no such command prefix");
}

Reply answer(Context &c)
{
    const QString &path = c.command.path;
    if (path == u"/login")
        return login(c);
    if (path == u"/quit")
        return {{{"!fatal", "=message=session terminated on request"}}, true};
    if (!c.session.loggedIn)
        return trap(QStringLiteral("not logged in"));
    const auto entry = std::find_if(commands().begin(), commands().end(), [&](const CommandEntry &candidate) {
        return candidate.path == path && candidate.available(c.version);
    });
    if (entry == commands().end())
        return trap(unknownCommandMessage(c));
    if (c.command.strayWord)
        return trap(QString::fromLatin1(UnknownParameter));
    if (c.behaviour.refuseAdds && path.endsWith(u"/add"))
        return trap(QStringLiteral("not enough permissions (9)"));
    if (path.endsWith(u"/user/add")) {
        const int number = ++c.session.userAdds;
        if (number == c.behaviour.collideAddAt)
            return trap(QStringLiteral("failure: already have user with this name"));
        if (c.behaviour.refuseAddsFrom > 0 && number >= c.behaviour.refuseAddsFrom)
            return trap(QStringLiteral("not enough permissions (9)"));
    }
    // A router that confirms an add it then loses: the client must not trust
    // "=ret=" alone.
    if (c.behaviour.forgetAdds && path.endsWith(u"/add"))
        return done({attributeWord(QStringLiteral("ret"), takeId(c.state))});
    return entry->handle(c);
}

} // namespace

QByteArray expectedResponse(const QByteArray &password, const QByteArray &challenge)
{
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(QByteArray(1, '\0'));
    md5.addData(password);
    md5.addData(challenge);
    return "00" + md5.result().toHex();
}

Reply handleSentence(const Sentence &sentence, RouterState &state, const RouterBehaviour &behaviour,
                     Session &session)
{
    if (sentence.isEmpty())
        return {};
    const Command command = parseCommand(sentence);
    Context context{command, state, behaviour, session, parseRouterVersion(state.version)};
    Reply reply = answer(context);
    if (command.tag && !behaviour.ignoreTags) {
        // Every sentence of the reply, "!fatal" included, carries the tag back.
        for (Sentence &answerSentence : reply.sentences)
            answerSentence.append(".tag=" + *command.tag);
        reply.tagged = true;
    }
    return reply;
}

} // namespace routersim
