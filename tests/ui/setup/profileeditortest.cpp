#include "accessiblesearch.h"
#include "scriptedinteraction.h"
#include "testmain.h"

#include "config/hotspotprofile.h"
#include "ui/setup/chotspotprofiledialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString NoValidity = u"Introduza um período de validade correta."_s;
const QString NoPrice = u"Introduza um preço correto."_s;

const QString NameLabel = u"Nome do perfil"_s;
const QString PriceLabel = u"Preço"_s;
const QString ServerLabel = u"Servidor Hotspot"_s;
const QString RouterProfileLabel = u"Perfil de usuário Mikrotik"_s;
const QString ValidityLabel = u"Validez"_s;
const QString UptimeLabel = u"Limite tempo conexão"_s;
const QString BytesInLabel = u"Limite bytes entrada"_s;
const QString BytesOutLabel = u"Limite bytes saída"_s;
const QString BytesTotalLabel = u"Limite total bytes"_s;

// Decimal comma, as in a Brazilian locale.
const NumberSeparators Comma{u","_s, u"."_s};

// A drop-down list by the label that names it (screen readers follow the
// label's buddy to it).
QComboBox *list(QWidget *root, const QString &label)
{
    for (QLabel *candidate : root->findChildren<QLabel *>()) {
        if (candidate->text() == label)
            return qobject_cast<QComboBox *>(candidate->buddy());
    }
    return nullptr;
}

void click(QWidget *root, const QString &name)
{
    QAccessibleInterface *found = findAccessible(root, QAccessible::Button, name);
    QVERIFY2(found, qPrintable(name));
    QTest::mouseClick(qobject_cast<QAbstractButton *>(found->object()), Qt::LeftButton);
}

void retype(QWidget *root, const QString &label, const QString &text)
{
    QLineEdit *edit = findField(root, label);
    QVERIFY2(edit, qPrintable(label));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    // Key by key, with the characters QTest has no key for sent as text.
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

const HotSpotNames Names{{u"hs10"_s, u"hs1"_s, u"default"_s}, {u"hotspot10"_s, u"hotspot1"_s}};

HotSpotProfile storedProfile()
{
    HotSpotProfile profile;
    profile.Name = u"2 horas"_s;
    profile.Validity = 7200;
    profile.LimitUptime = 3600;
    profile.RouterProfile = u"default"_s;
    profile.Server = u"hotspot1"_s;
    profile.LimitBytesIn = u"10M"_s;
    profile.LimitBytesOut = u"20M"_s;
    profile.LimitBytesTotal = u"30M"_s;
    profile.Price = 500;
    return profile;
}

} // namespace

class ProfileEditorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void shownAtOpening();
    void tabOrder();
    void listsSelectTheStoredNames_data();
    void listsSelectTheStoredNames();
    void emptyNameLists();
    void okStoresEveryField();
    void priceIsReadAndRewritten_data();
    void priceIsReadAndRewritten();
    void otherLocaleSeparatorReadsBack();
    void refusedValuesKeepTheEditorOpen_data();
    void refusedValuesKeepTheEditorOpen();
    void unreadDurationStaysShown();
    void controlCharactersRefused_data();
    void controlCharactersRefused();
    void cancelKeepsTheProfile();

private:
    ScriptedInteraction m_interaction;
};

void ProfileEditorTest::init()
{
    m_interaction = ScriptedInteraction();
}

void ProfileEditorTest::shownAtOpening()
{
    HotSpotProfile profile = storedProfile();
    profile.Validity = 93600;
    profile.LimitUptime = 0;
    profile.Price = 5;
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QCOMPARE(dialog.windowTitle(), u"Perfil do HotSpot"_s);
    QCOMPARE(findField(&dialog, NameLabel)->text(), u"2 horas"_s);
    QCOMPARE(findField(&dialog, PriceLabel)->text(), u"0,05"_s);
    QCOMPARE(findField(&dialog, ValidityLabel)->text(), u"1d 02:00:00"_s);
    QCOMPARE(findField(&dialog, UptimeLabel)->text(), QString());
    QCOMPARE(findField(&dialog, BytesInLabel)->text(), u"10M"_s);
    QCOMPARE(findField(&dialog, BytesOutLabel)->text(), u"20M"_s);
    QCOMPARE(findField(&dialog, BytesTotalLabel)->text(), u"30M"_s);
    QComboBox *servers = list(&dialog, ServerLabel);
    QVERIFY(servers);
    QCOMPARE(servers->count(), 3);
    QCOMPARE(servers->itemText(0), u"(Todos)"_s);
    QCOMPARE(servers->itemText(1), u"hotspot10"_s);
    QCOMPARE(servers->itemText(2), u"hotspot1"_s);
    QComboBox *profiles = list(&dialog, RouterProfileLabel);
    QVERIFY(profiles);
    QCOMPARE(profiles->count(), 3);
    QCOMPARE(profiles->itemText(0), u"hs10"_s);
    for (const QString &button : {u"Ok"_s, u"Cancelar"_s})
        QVERIFY2(findAccessible(&dialog, QAccessible::Button, button), qPrintable(button));
}

void ProfileEditorTest::tabOrder()
{
    HotSpotProfile profile = storedProfile();
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    const QList<QWidget *> expected = {findField(&dialog, NameLabel),      findField(&dialog, PriceLabel),
                                       list(&dialog, ServerLabel),         list(&dialog, RouterProfileLabel),
                                       findField(&dialog, ValidityLabel),  findField(&dialog, UptimeLabel),
                                       findField(&dialog, BytesInLabel),   findField(&dialog, BytesOutLabel),
                                       findField(&dialog, BytesTotalLabel)};
    QList<QWidget *> visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        visited.append(focused);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
    QVERIFY(!expected.contains(nullptr));
}

void ProfileEditorTest::listsSelectTheStoredNames_data()
{
    QTest::addColumn<QString>("storedProfile");
    QTest::addColumn<QString>("storedServer");
    QTest::addColumn<QString>("shownProfile");
    QTest::addColumn<QString>("shownServer");
    QTest::addColumn<QString>("server");

    // clang-format off
    QTest::addRow("equal names before longer ones")
        << u"hs1"_s << u"hotspot1"_s << u"hs1"_s << u"hotspot1"_s << u"hotspot1"_s;
    QTest::addRow("equal ignoring case")
        << u"HS1"_s << u"HOTSPOT1"_s << u"hs1"_s << u"hotspot1"_s << u"hotspot1"_s;
    QTest::addRow("only a beginning: the first that begins so")
        << u"hs"_s << u"hot"_s << u"hs10"_s << u"hotspot10"_s << u"hotspot10"_s;
    QTest::addRow("no longer on the router: first profile, every server")
        << u"apagado"_s << u"antigo"_s << u"hs10"_s << u"(Todos)"_s << QString();
    QTest::addRow("no server: every server")
        << u"default"_s << QString() << u"default"_s << u"(Todos)"_s << QString();
    // clang-format on
}

void ProfileEditorTest::listsSelectTheStoredNames()
{
    QFETCH(QString, storedProfile);
    QFETCH(QString, storedServer);
    QFETCH(QString, shownProfile);
    QFETCH(QString, shownServer);
    QFETCH(QString, server);

    HotSpotProfile profile = ::storedProfile();
    profile.RouterProfile = storedProfile;
    profile.Server = storedServer;
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(list(&dialog, RouterProfileLabel)->currentText(), shownProfile);
    QCOMPARE(list(&dialog, ServerLabel)->currentText(), shownServer);
    click(&dialog, u"Ok"_s);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(profile.RouterProfile, shownProfile);
    QCOMPARE(profile.Server, server);
    QCOMPARE(m_interaction.texts(), QStringList());
}

void ProfileEditorTest::emptyNameLists()
{
    HotSpotProfile profile = storedProfile();
    CHotSpotProfileDialog dialog(profile, HotSpotNames{}, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(list(&dialog, ServerLabel)->count(), 1);
    click(&dialog, u"Ok"_s);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(profile.RouterProfile, QString());
    QCOMPARE(profile.Server, QString());
}

void ProfileEditorTest::okStoresEveryField()
{
    HotSpotProfile profile = storedProfile();
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, NameLabel, u"Um dia"_s);
    retype(&dialog, PriceLabel, u"12,5"_s);
    // "(Todos)" is the first server item, "hs10" the first profile.
    QComboBox *servers = list(&dialog, ServerLabel);
    servers->setFocus();
    QTest::keyClick(servers, Qt::Key_Home);
    QComboBox *profiles = list(&dialog, RouterProfileLabel);
    profiles->setFocus();
    QTest::keyClick(profiles, Qt::Key_Home);
    retype(&dialog, ValidityLabel, u"1d"_s);
    retype(&dialog, UptimeLabel, u"90m"_s);
    retype(&dialog, BytesInLabel, u"1G"_s);
    retype(&dialog, BytesOutLabel, QString());
    retype(&dialog, BytesTotalLabel, u"3000000"_s);
    QTest::keyClick(findField(&dialog, BytesTotalLabel), Qt::Key_Return);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    HotSpotProfile expected;
    expected.Name = u"Um dia"_s;
    expected.Validity = 86400;
    expected.LimitUptime = 5400;
    expected.RouterProfile = u"hs10"_s;
    expected.Server = QString();
    expected.LimitBytesIn = u"1G"_s;
    expected.LimitBytesOut = QString();
    expected.LimitBytesTotal = u"3000000"_s;
    expected.Price = 1250;
    QCOMPARE(profile, expected);
    QCOMPARE(m_interaction.texts(), QStringList());
}

void ProfileEditorTest::priceIsReadAndRewritten_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<qint32>("price");

    QTest::addRow("decimal comma, one decimal") << u"12,5"_s << u"12,50"_s << 1250;
    QTest::addRow("decimal point") << u"12.50"_s << u"12,50"_s << 1250;
    QTest::addRow("units only") << u"5"_s << u"5,00"_s << 500;
    QTest::addRow("thousands and decimals") << u"1.250,50"_s << u"1250,50"_s << 125050;
    QTest::addRow("empty is free") << QString() << u"0,00"_s << 0;
}

void ProfileEditorTest::priceIsReadAndRewritten()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(qint32, price);

    HotSpotProfile profile = storedProfile();
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, PriceLabel, typed);
    QLineEdit *box = findField(&dialog, PriceLabel);
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(!box->hasFocus());
    QCOMPARE(box->text(), shown);
    click(&dialog, u"Ok"_s);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(profile.Price, price);
}

void ProfileEditorTest::otherLocaleSeparatorReadsBack()
{
    // A locale whose decimal separator is neither a comma nor a point.
    const NumberSeparators arabic{u"٫"_s, QString()};
    HotSpotProfile profile = storedProfile();
    profile.Price = 1250;
    CHotSpotProfileDialog dialog(profile, Names, arabic, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *box = findField(&dialog, PriceLabel);
    QCOMPARE(box->text(), u"12٫50"_s);
    // Passing through the box leaves the price as it was.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(box->text(), u"12٫50"_s);
    retype(&dialog, PriceLabel, u"7٫5"_s);
    QTest::keyClick(box, Qt::Key_Return);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(profile.Price, 750);
}

void ProfileEditorTest::refusedValuesKeepTheEditorOpen_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    QTest::addRow("price with a letter") << PriceLabel << u"12,5x"_s << NoPrice;
    QTest::addRow("price in words") << PriceLabel << u"doze"_s << NoPrice;
    QTest::addRow("price beyond 32 bits") << PriceLabel << u"30000000"_s << NoPrice;
    QTest::addRow("zero validity") << ValidityLabel << u"0"_s << NoValidity;
    QTest::addRow("empty validity") << ValidityLabel << QString() << NoValidity;
    QTest::addRow("validity without unit") << ValidityLabel << u"12"_s << NoValidity;
    // Read whole and within bounds, or refused: nothing is guessed.
    QTest::addRow("price below nothing") << PriceLabel << u"-1"_s << NoPrice;
    QTest::addRow("price 1,234: a thousand or 1,23?") << PriceLabel << u"1,234"_s << NoPrice;
    QTest::addRow("price with a third decimal") << PriceLabel << u"5,257"_s << NoPrice;
    QTest::addRow("negative validity") << ValidityLabel << u"-1h"_s << NoValidity;
    QTest::addRow("hours written without their unit") << ValidityLabel << u"1d 12"_s << NoValidity;
    QTest::addRow("validity of 99999999 weeks")
        << ValidityLabel << u"99999999w"_s << u"O período de validade pode ser de no máximo 10 anos."_s;
    QTest::addRow("connection time that is no duration")
        << UptimeLabel << u"-1h"_s
        << u"Introduza um limite de tempo de conexão correto, ou deixe-o vazio para não limitar."_s;
    QTest::addRow("connection time beyond ten years")
        << UptimeLabel << u"3654d"_s << u"O limite de tempo de conexão pode ser de no máximo 10 anos."_s;
}

void ProfileEditorTest::refusedValuesKeepTheEditorOpen()
{
    QFETCH(QString, label);
    QFETCH(QString, typed);
    QFETCH(QString, message);

    HotSpotProfile profile = storedProfile();
    const HotSpotProfile before = profile;
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    // Other fields changed too: none of them is stored either.
    retype(&dialog, NameLabel, u"Outro"_s);
    retype(&dialog, BytesInLabel, u"5M"_s);
    retype(&dialog, label, typed);
    QTest::keyClick(findField(&dialog, label), Qt::Key_Return);

    QCOMPARE(m_interaction.texts(), QStringList{message});
    QCOMPARE(m_interaction.events[0].icon, MessageIcon::Warning);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(profile, before);
    // The operator is taken to the box to mend.
    QCOMPARE(QApplication::focusWidget(), findField(&dialog, label));
}

// Leaving a duration box shows what will be stored; a text that is no
// duration stays as typed, for OK to refuse, rather than turning into another
// duration ("-1h" into an hour).
void ProfileEditorTest::unreadDurationStaysShown()
{
    HotSpotProfile profile = storedProfile();
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (const auto &[typed, shown] : {std::pair{u"-1h"_s, u"-1h"_s}, std::pair{u"1d 12"_s, u"1d 12"_s},
                                       std::pair{u"90m"_s, u"01:30:00"_s}}) {
        retype(&dialog, ValidityLabel, typed);
        QLineEdit *box = findField(&dialog, ValidityLabel);
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(box->text(), shown);
    }
}

void ProfileEditorTest::controlCharactersRefused_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("pasted");

    QTest::addRow("tab in the name") << NameLabel << u"2\thoras"_s;
    QTest::addRow("line break in the name") << NameLabel << u"2 horas\n"_s;
    QTest::addRow("C1 control in the name") << NameLabel << u"2 horas\u0085"_s;
    QTest::addRow("carriage return in bytes in") << BytesInLabel << u"10M\r"_s;
}

// Pasted, as they cannot be typed: the editor is told which field to mend.
void ProfileEditorTest::controlCharactersRefused()
{
    QFETCH(QString, label);
    QFETCH(QString, pasted);

    HotSpotProfile profile = storedProfile();
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *box = findField(&dialog, label);
    box->setText(pasted);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);

    QCOMPARE(
        m_interaction.texts(),
        QStringList{u"O campo \"%1\" não pode conter tabulações, quebras de linha nem outros caracteres de "
                    "controle."_s.arg(label)});
    QVERIFY(dialog.isVisible());
    QCOMPARE(profile, storedProfile());
    QCOMPARE(QApplication::focusWidget(), box);
}

void ProfileEditorTest::cancelKeepsTheProfile()
{
    HotSpotProfile profile = storedProfile();
    const HotSpotProfile before = profile;
    CHotSpotProfileDialog dialog(profile, Names, Comma, m_interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(&dialog, NameLabel, u"Outro"_s);
    retype(&dialog, PriceLabel, u"9"_s);
    retype(&dialog, ValidityLabel, u"3d"_s);
    QComboBox *servers = list(&dialog, ServerLabel);
    servers->setFocus();
    QTest::keyClick(servers, Qt::Key_Home);
    QTest::keyClick(servers, Qt::Key_Escape);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(profile, before);
}

WIFITICKETER_TEST(ProfileEditorTest)
#include "profileeditortest.moc"
