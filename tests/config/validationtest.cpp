#include "testmain.h"

#include "config/appuser.h"
#include "config/hotspotprofilevalidation.h"
#include "config/routervalidation.h"

#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;

using RouterEdit = std::function<void(RouterConfig &)>;
using ProfileEdit = std::function<void(HotSpotProfileInput &)>;
Q_DECLARE_METATYPE(RouterEdit)
Q_DECLARE_METATYPE(ProfileEdit)
Q_DECLARE_METATYPE(RouterField)
Q_DECLARE_METATYPE(std::optional<RouterField>)
Q_DECLARE_METATYPE(HotSpotProfile)
Q_DECLARE_METATYPE(HotSpotProfileField)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

QString controlText(const QString &field)
{
    return u"O campo \"%1\" não pode conter tabulações, quebras de linha nem outros caracteres de controle."_s
        .arg(field);
}

RouterConfig storableRouter()
{
    RouterConfig router;
    router.Name = u"Loja"_s;
    router.Address = u"192.168.88.1"_s;
    router.ApiUser = u"api"_s;
    router.ApiPassword = u"segredo"_s;
    router.UserManagerAdmin = u"admin"_s;
    return router;
}

HotSpotProfile storedProfile()
{
    HotSpotProfile profile;
    profile.Name = u"3 horas"_s;
    profile.Validity = 10800;
    profile.LimitUptime = 3600;
    profile.RouterProfile = u"default"_s;
    profile.Price = 300;
    return profile;
}

constexpr qint64 TenYears = 3653LL * 86400;

} // namespace

// The rules the setup's dialogs and the command line share, for what is typed
// into them.
class ValidationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void routerTexts_data();
    void routerTexts();
    void profileInput_data();
    void profileInput();
    void profileRefused_data();
    void profileRefused();
    void programUserName_data();
    void programUserName();
};

void ValidationTest::routerTexts_data()
{
    QTest::addColumn<RouterEdit>("edit");
    QTest::addColumn<std::optional<RouterField>>("field");
    QTest::addColumn<QString>("message");

    QTest::addRow("storable") << RouterEdit([](RouterConfig &) {}) << std::optional<RouterField>()
                              << QString();
    QTest::addRow("password may hold anything") << RouterEdit([](RouterConfig &r) {
        r.ApiPassword = u"se\tgr\ne\x01"
                        u"do"_s;
    }) << std::optional<RouterField>() << QString();
    QTest::addRow("non-ASCII name") << RouterEdit([](RouterConfig &r) { r.Name = u"Café Ação"_s; })
                                    << std::optional<RouterField>() << QString();
    QTest::addRow("tab in the name") << RouterEdit([](RouterConfig &r) { r.Name = u"Lo\tja"_s; })
                                     << std::optional(RouterField::Name) << controlText(u"Nome router"_s);
    QTest::addRow("line break in the name")
        << RouterEdit([](RouterConfig &r) { r.Name = u"Loja\n"_s; }) << std::optional(RouterField::Name)
        << controlText(u"Nome router"_s);
    QTest::addRow("carriage return in the name")
        << RouterEdit([](RouterConfig &r) { r.Name = u"Lo\rja"_s; }) << std::optional(RouterField::Name)
        << controlText(u"Nome router"_s);
    QTest::addRow("C1 next line in the name")
        << RouterEdit([](RouterConfig &r) { r.Name = u"Loja\u0085"_s; }) << std::optional(RouterField::Name)
        << controlText(u"Nome router"_s);
    QTest::addRow("line separator in the name")
        << RouterEdit([](RouterConfig &r) { r.Name = u"Lo\u2028ja"_s; }) << std::optional(RouterField::Name)
        << controlText(u"Nome router"_s);
    QTest::addRow("DEL in the name") << RouterEdit([](RouterConfig &r) { r.Name = u"Loja\x7f"_s; })
                                     << std::optional(RouterField::Name) << controlText(u"Nome router"_s);
    QTest::addRow("escape in the address")
        << RouterEdit([](RouterConfig &r) { r.Address = u"10.0.0.1\x1b"_s; })
        << std::optional(RouterField::Address) << controlText(u"IP do router"_s);
    QTest::addRow("tab in the API user")
        << RouterEdit([](RouterConfig &r) { r.ApiUser = u"a\tpi"_s; }) << std::optional(RouterField::ApiUser)
        << controlText(u"Usuário API"_s);
    QTest::addRow("line break in the User Manager admin")
        << RouterEdit([](RouterConfig &r) { r.UserManagerAdmin = u"ad\nmin"_s; })
        << std::optional(RouterField::UserManagerAdmin) << controlText(u"Admin do user-manager"_s);
    // The dialog's order of fields: the name is told first.
    QTest::addRow("name and address") << RouterEdit([](RouterConfig &r) {
        r.Name = u"a\tb"_s;
        r.Address = u"c\td"_s;
    }) << std::optional(RouterField::Name)
                                      << controlText(u"Nome router"_s);
    QTest::addRow("bad port before a tab in the API user") << RouterEdit([](RouterConfig &r) {
        r.Port = u"0"_s;
        r.ApiUser = u"a\tpi"_s;
    }) << std::optional(RouterField::Port) << u"Introduza uma porta API correta."_s;
}

void ValidationTest::routerTexts()
{
    QFETCH(RouterEdit, edit);
    QFETCH(std::optional<RouterField>, field);
    QFETCH(QString, message);
    RouterConfig router = storableRouter();
    edit(router);
    const std::optional<RouterProblem> problem = routerProblem(router);
    QCOMPARE(problem.has_value(), field.has_value());
    if (problem) {
        QCOMPARE(problem->field, *field);
        QCOMPARE(problem->message, message);
    }
}

void ValidationTest::profileInput_data()
{
    QTest::addColumn<ProfileEdit>("edit");
    QTest::addColumn<HotSpotProfile>("expected");

    HotSpotProfile expected = storedProfile();
    expected.Validity = TenYears;
    QTest::addRow("validity of ten years")
        << ProfileEdit([](HotSpotProfileInput &in) { in.validity = TypedDuration{TenYears}; }) << expected;
    expected = storedProfile();
    expected.LimitUptime = TenYears;
    QTest::addRow("connection time of ten years")
        << ProfileEdit([](HotSpotProfileInput &in) { in.limitUptime = TypedDuration{TenYears}; }) << expected;
    expected = storedProfile();
    expected.LimitUptime = 0;
    QTest::addRow("no connection limit")
        << ProfileEdit([](HotSpotProfileInput &in) { in.limitUptime = TypedDuration{0}; }) << expected;
    expected = storedProfile();
    expected.Price = 0;
    QTest::addRow("free") << ProfileEdit([](HotSpotProfileInput &in) { in.price = u"0"_s; }) << expected;
    expected = storedProfile();
    expected.Price = 123450;
    QTest::addRow("thousands grouped, decimal comma")
        << ProfileEdit([](HotSpotProfileInput &in) { in.price = u"1.234,50"_s; }) << expected;
}

void ValidationTest::profileInput()
{
    QFETCH(ProfileEdit, edit);
    QFETCH(HotSpotProfile, expected);
    HotSpotProfile profile = storedProfile();
    HotSpotProfileInput input;
    edit(input);
    const std::optional<HotSpotProfileProblem> problem = applyHotSpotProfileInput(profile, input);
    QVERIFY2(!problem, problem ? qPrintable(problem->message) : "");
    QCOMPARE(profile, expected);
}

void ValidationTest::profileRefused_data()
{
    QTest::addColumn<ProfileEdit>("edit");
    QTest::addColumn<HotSpotProfileField>("field");
    QTest::addColumn<QString>("message");

    const QString noValidity = u"Introduza um período de validade correta."_s;
    const QString noUptime =
        u"Introduza um limite de tempo de conexão correto, ou deixe-o vazio para não limitar."_s;
    const QString noPrice = u"Introduza um preço correto."_s;
    QTest::addRow("validity that is no duration")
        << ProfileEdit([](HotSpotProfileInput &in) { in.validity = TypedDuration{}; })
        << HotSpotProfileField::Validity << noValidity;
    QTest::addRow("validity of ten years and a second")
        << ProfileEdit([](HotSpotProfileInput &in) { in.validity = TypedDuration{TenYears + 1}; })
        << HotSpotProfileField::Validity << u"O período de validade pode ser de no máximo 10 anos."_s;
    QTest::addRow("validity of nothing")
        << ProfileEdit([](HotSpotProfileInput &in) { in.validity = TypedDuration{0}; })
        << HotSpotProfileField::Validity << noValidity;
    QTest::addRow("connection time that is no duration")
        << ProfileEdit([](HotSpotProfileInput &in) { in.limitUptime = TypedDuration{}; })
        << HotSpotProfileField::LimitUptime << noUptime;
    QTest::addRow("connection time beyond ten years")
        << ProfileEdit([](HotSpotProfileInput &in) { in.limitUptime = TypedDuration{TenYears + 1}; })
        << HotSpotProfileField::LimitUptime
        << u"O limite de tempo de conexão pode ser de no máximo 10 anos."_s;
    QTest::addRow("negative price") << ProfileEdit([](HotSpotProfileInput &in) { in.price = u"-1"_s; })
                                    << HotSpotProfileField::Price << noPrice;
    QTest::addRow("price 1,234") << ProfileEdit([](HotSpotProfileInput &in) { in.price = u"1,234"_s; })
                                 << HotSpotProfileField::Price << noPrice;
    QTest::addRow("price with text after it")
        << ProfileEdit([](HotSpotProfileInput &in) { in.price = u"3,00 reais"_s; })
        << HotSpotProfileField::Price << noPrice;
    QTest::addRow("tab in the name") << ProfileEdit([](HotSpotProfileInput &in) { in.name = u"3\thoras"_s; })
                                     << HotSpotProfileField::Name << controlText(u"Nome do perfil"_s);
    QTest::addRow("line break in the name")
        << ProfileEdit([](HotSpotProfileInput &in) { in.name = u"3 horas\n"_s; }) << HotSpotProfileField::Name
        << controlText(u"Nome do perfil"_s);
    QTest::addRow("line break in the router profile")
        << ProfileEdit([](HotSpotProfileInput &in) { in.routerProfile = u"def\nault"_s; })
        << HotSpotProfileField::RouterProfile << controlText(u"Perfil de usuário Mikrotik"_s);
    QTest::addRow("tab in the server") << ProfileEdit([](HotSpotProfileInput &in) { in.server = u"hs\t1"_s; })
                                       << HotSpotProfileField::Server << controlText(u"Servidor Hotspot"_s);
    QTest::addRow("carriage return in a byte limit")
        << ProfileEdit([](HotSpotProfileInput &in) { in.limitBytesTotal = u"1000\r"_s; })
        << HotSpotProfileField::LimitBytesTotal << controlText(u"Limite total bytes"_s);
    // The editor's order of checks: durations, the price, then the texts.
    QTest::addRow("connection time before price") << ProfileEdit([](HotSpotProfileInput &in) {
        in.price = u"-1"_s;
        in.limitUptime = TypedDuration{};
    }) << HotSpotProfileField::LimitUptime << noUptime;
    QTest::addRow("price before the name") << ProfileEdit([](HotSpotProfileInput &in) {
        in.name = u"a\tb"_s;
        in.price = u"1,234"_s;
    }) << HotSpotProfileField::Price << noPrice;
}

// The profile is left as it was, and the first problem is told.
void ValidationTest::profileRefused()
{
    QFETCH(ProfileEdit, edit);
    QFETCH(HotSpotProfileField, field);
    QFETCH(QString, message);
    HotSpotProfile profile = storedProfile();
    HotSpotProfileInput input;
    input.limitBytesIn = u"5M"_s; // another change, not taken either
    edit(input);
    const std::optional<HotSpotProfileProblem> problem = applyHotSpotProfileInput(profile, input);
    QVERIFY(problem);
    QCOMPARE(problem->field, field);
    QCOMPARE(problem->message, message);
    QCOMPARE(profile, storedProfile());
}

void ValidationTest::programUserName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QString>>("problem");

    const std::optional<QString> refused = controlText(u"Nome do Usuário"_s);
    QTest::addRow("plain") << u"caixa 2"_s << std::optional<QString>();
    QTest::addRow("empty: the unnamed user") << QString() << std::optional<QString>();
    QTest::addRow("accents") << u"João"_s << std::optional<QString>();
    QTest::addRow("tab") << u"caixa\t2"_s << refused;
    QTest::addRow("line break") << u"caixa\n"_s << refused;
    QTest::addRow("NUL") << QString(u"caixa\0"_s) << refused;
    QTest::addRow("C1 control") << u"caixa\u009b"_s << refused;
    QTest::addRow("paragraph separator") << u"caixa\u2029"_s << refused;
}

void ValidationTest::programUserName()
{
    QFETCH(QString, name);
    QFETCH(std::optional<QString>, problem);
    QCOMPARE(appUserNameProblem(name), problem);
}

WIFITICKETER_TEST(ValidationTest)
#include "validationtest.moc"
