#include "testmain.h"

#include "accessiblesearch.h"

#include "config/appsettings.h"
#include "ui/framework/uiresources.h"
#include "ui/pos/ckeypad.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A keypad opened for a button in the middle of the screen, over an owner
// window.
struct KeypadFixture
{
    explicit KeypadFixture(bool countMode = true)
    {
        settings.CreateRandomUserName = countMode;
        loadUiResources(resources);
        owner.resize(400, 300);
        owner.show();
        keypad = new CKeyPad(resources, settings, QRect(300, 200, 355, 54), &owner);
        keypad->open();
    }
    ~KeypadFixture() { delete keypad; }

    // Presses the key with that caption the way a screen reader does.
    bool press(const QString &caption)
    {
        QAccessibleInterface *key = findAccessible(keypad, QAccessible::Button, caption);
        if (!key || !pressAccessible(key))
            return false;
        QCoreApplication::processEvents();
        return true;
    }
    bool pressAll(const QStringList &captions)
    {
        for (const QString &caption : captions) {
            if (!press(caption))
                return false;
        }
        return true;
    }

    AppSettings settings;
    UiResources resources;
    QWidget owner;
    QPointer<CKeyPad> keypad;
};

} // namespace

class KeypadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countTyping_data();
    void countTyping();
    void nameTyping_data();
    void nameTyping();
    void confirmation_data();
    void confirmation();
    void keyboard_data();
    void keyboard();
    void closesWithoutSale_data();
    void closesWithoutSale();
    void placement_data();
    void placement();
    void confirmsAtOnce_data();
    void confirmsAtOnce();
};

void KeypadTest::countTyping_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addRow("opens with one") << QStringList{} << u"1"_s;
    QTest::addRow("first digit replaces the one") << QStringList{u"2"_s, u"5"_s} << u"25"_s;
    QTest::addRow("a thousand") << QStringList{u"1"_s, u"0"_s, u"0"_s, u"0"_s} << u"1000"_s;
    QTest::addRow("one more digit after a thousand")
        << QStringList{u"1"_s, u"0"_s, u"0"_s, u"0"_s, u"5"_s} << u"10005"_s;
    QTest::addRow("then digits are ignored")
        << QStringList{u"1"_s, u"0"_s, u"0"_s, u"0"_s, u"5"_s, u"7"_s} << u"10005"_s;
    QTest::addRow("backspace") << QStringList{u"2"_s, u"5"_s, u"Apagar"_s} << u"2"_s;
    QTest::addRow("backspace to zero") << QStringList{u"2"_s, u"5"_s, u"Apagar"_s, u"Apagar"_s} << u"0"_s;
    QTest::addRow("backspace from the opening one, then a digit appends")
        << QStringList{u"Apagar"_s, u"7"_s} << u"7"_s;
    QTest::addRow("clear") << QStringList{u"2"_s, u"5"_s, u"CLR"_s} << u"0"_s;
    QTest::addRow("clear, then digits") << QStringList{u"CLR"_s, u"4"_s, u"2"_s} << u"42"_s;
}

// Every key reached by its caption through the accessibility interface.
void KeypadTest::countTyping()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, shown);
    KeypadFixture f;
    QVERIFY(f.pressAll(keys));
    QCOMPARE(f.keypad->displayText(), shown);
    // The display is read as text.
    QVERIFY(findAccessible(f.keypad, QAccessible::StaticText, shown));
    QVERIFY(findAccessible(f.keypad, QAccessible::StaticText, u"Vouchers"_s));
}

void KeypadTest::nameTyping_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addRow("opens empty") << QStringList{} << QString();
    QTest::addRow("digits append") << QStringList{u"1"_s, u"0"_s} << u"10"_s;
    QTest::addRow("the 13th character is ignored") << QStringList(13, u"7"_s) << u"777777777777"_s;
    QTest::addRow("backspace on empty") << QStringList{u"Apagar"_s} << QString();
    QTest::addRow("backspace") << QStringList{u"1"_s, u"2"_s, u"Apagar"_s} << u"1"_s;
    QTest::addRow("clear") << QStringList{u"1"_s, u"2"_s, u"CLR"_s} << QString();
}

void KeypadTest::nameTyping()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, shown);
    KeypadFixture f(false);
    QVERIFY(f.pressAll(keys));
    QCOMPARE(f.keypad->displayText(), shown);
    QVERIFY(findAccessible(f.keypad, QAccessible::StaticText, u"Nome do Usuário"_s));
}

void KeypadTest::confirmation_data()
{
    QTest::addColumn<bool>("countMode");
    QTest::addColumn<bool>("queryUserData");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("name");
    QTest::addRow("one at once") << true << false << QStringList{} << true << 1 << QString();
    QTest::addRow("25") << true << false << QStringList{u"2"_s, u"5"_s} << true << 25 << QString();
    QTest::addRow("zero does nothing") << true << false << QStringList{u"CLR"_s} << false << 0 << QString();
    QTest::addRow("a name") << false << false << QStringList{u"4"_s, u"2"_s} << true << 1 << u"42"_s;
    QTest::addRow("no name does nothing") << false << false << QStringList{} << false << 0 << QString();
    QTest::addRow("no name, the prompt asks") << false << true << QStringList{} << true << 1 << QString();
}

void KeypadTest::confirmation()
{
    QFETCH(bool, countMode);
    QFETCH(bool, queryUserData);
    QFETCH(QStringList, keys);
    QFETCH(bool, confirmed);
    QFETCH(int, count);
    QFETCH(QString, name);
    KeypadFixture f(countMode);
    f.settings.QueryUserData = queryUserData;
    QSignalSpy sale(f.keypad.data(), &CKeyPad::confirmed);
    QSignalSpy closing(f.keypad.data(), &CKeyPad::closing);
    QVERIFY(f.pressAll(keys));
    QVERIFY(f.press(u"Imprimir"_s));
    if (!confirmed) {
        QCOMPARE(sale.size(), 0);
        QVERIFY(f.keypad && f.keypad->isVisible());
        return;
    }
    QCOMPARE(sale.size(), 1);
    QCOMPARE(sale[0][0].toBool(), countMode);
    QCOMPARE(sale[0][1].toInt(), count);
    QCOMPARE(sale[0][2].toString(), name);
    // Closed first, then the sale.
    QCOMPARE(closing.size(), 1);
    QTRY_VERIFY(!f.keypad);
}

void KeypadTest::keyboard_data()
{
    QTest::addColumn<bool>("countMode");
    QTest::addColumn<QList<QKeyCombination>>("keys");
    QTest::addColumn<QString>("shown");
    using K = QKeyCombination;
    QTest::addRow("main digits") << true << QList<K>{K(Qt::Key_4), K(Qt::Key_2)} << u"42"_s;
    QTest::addRow("numeric keypad digits")
        << true << QList<K>{K(Qt::KeypadModifier, Qt::Key_4), K(Qt::KeypadModifier, Qt::Key_2)} << u"42"_s;
    QTest::addRow("letters ignored when counting") << true << QList<K>{K(Qt::Key_A)} << u"1"_s;
    QTest::addRow("backspace") << true << QList<K>{K(Qt::Key_4), K(Qt::Key_2), K(Qt::Key_Backspace)}
                               << u"4"_s;
    QTest::addRow("delete clears") << true << QList<K>{K(Qt::Key_4), K(Qt::Key_Delete)} << u"0"_s;
    QTest::addRow("a name of letters and digits")
        << false << QList<K>{K(Qt::ShiftModifier, Qt::Key_A), K(Qt::Key_N), K(Qt::Key_A), K(Qt::Key_7)}
        << u"Ana7"_s;
    QTest::addRow("no blanks or signs in a name")
        << false << QList<K>{K(Qt::Key_A), K(Qt::Key_Space), K(Qt::Key_Minus), K(Qt::Key_B)} << u"ab"_s;
}

void KeypadTest::keyboard()
{
    QFETCH(bool, countMode);
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(QString, shown);
    KeypadFixture f(countMode);
    QVERIFY(QTest::qWaitForWindowActive(f.keypad.data()));
    for (const QKeyCombination key : keys) {
        QString text;
        if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) {
            const QChar letter = QChar(u'a' + (key.key() - Qt::Key_A));
            text = key.keyboardModifiers() & Qt::ShiftModifier ? letter.toUpper() : letter;
        } else if (key.key() == Qt::Key_Space) {
            text = u" "_s;
        } else if (key.key() == Qt::Key_Minus) {
            text = u"-"_s;
        } else if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9) {
            text = QChar(u'0' + (key.key() - Qt::Key_0));
        }
        QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers(), text);
        QApplication::sendEvent(f.keypad.data(), &press);
    }
    QCOMPARE(f.keypad->displayText(), shown);
    // Enter confirms.
    QSignalSpy sale(f.keypad.data(), &CKeyPad::confirmed);
    QTest::keyClick(f.keypad.data(), Qt::Key_Return);
    QCOMPARE(sale.size(), shown.isEmpty() || shown == u"0"_s ? 0 : 1);
}

void KeypadTest::closesWithoutSale_data()
{
    QTest::addColumn<QString>("how");
    QTest::addRow("Escape") << u"Escape"_s;
    QTest::addRow("ESC key") << u"ESC"_s;
    QTest::addRow("another window takes the focus") << u"focus"_s;
}

void KeypadTest::closesWithoutSale()
{
    QFETCH(QString, how);
    KeypadFixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.keypad.data()));
    QSignalSpy sale(f.keypad.data(), &CKeyPad::confirmed);
    QSignalSpy closing(f.keypad.data(), &CKeyPad::closing);
    if (how == u"Escape"_s) {
        QTest::keyClick(f.keypad.data(), Qt::Key_Escape);
    } else if (how == u"ESC"_s) {
        QVERIFY(f.press(u"ESC"_s));
    } else {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    }
    QTRY_VERIFY(!f.keypad);
    QCOMPARE(closing.size(), 1);
    QCOMPARE(sale.size(), 0);
}

void KeypadTest::placement_data()
{
    QTest::addColumn<QRect>("button");
    QTest::addColumn<QPoint>("at");
    const QRect workArea(0, 0, 1200, 700);
    // Centred: 100 + (355 - 258) / 2 = 148.
    QTest::addRow("below") << QRect(100, 200, 355, 54) << QPoint(148, 259);
    // 390 + 54 + 5 + 300 = 749 > 700: above, 8 px up.
    QTest::addRow("above near the bottom") << QRect(100, 390, 355, 54) << QPoint(148, 82);
    // 341 + 54 + 5 + 300 = 700 still fits.
    QTest::addRow("just fits below") << QRect(100, 341, 355, 54) << QPoint(148, 400);
    // A button narrower than the keypad: (200 - 258) / 2 = -29.
    QTest::addRow("narrow button") << QRect(100, 200, 200, 54) << QPoint(71, 259);
}

void KeypadTest::placement()
{
    QFETCH(QRect, button);
    QFETCH(QPoint, at);
    QCOMPARE(CKeyPad::placeFor(button, QSize(258, 300), QRect(0, 0, 1200, 700)), at);
}

void KeypadTest::confirmsAtOnce_data()
{
    QTest::addColumn<bool>("randomNames");
    QTest::addColumn<bool>("queryPassword");
    QTest::addColumn<bool>("queryUserData");
    QTest::addColumn<bool>("userDatabase");
    QTest::addColumn<bool>("atOnce");
    QTest::addRow("counting") << true << true << true << true << false;
    QTest::addRow("typed names") << false << false << false << false << false;
    QTest::addRow("password asked") << false << true << false << false << true;
    QTest::addRow("user data asked") << false << false << true << false << true;
    QTest::addRow("user database") << false << false << false << true << true;
}

void KeypadTest::confirmsAtOnce()
{
    QFETCH(bool, randomNames);
    QFETCH(bool, queryPassword);
    QFETCH(bool, queryUserData);
    QFETCH(bool, userDatabase);
    QFETCH(bool, atOnce);
    AppSettings settings;
    settings.CreateRandomUserName = randomNames;
    settings.QueryPassword = queryPassword;
    settings.QueryUserData = queryUserData;
    settings.UseUserDatabase = userDatabase;
    QCOMPARE(CKeyPad::confirmsAtOnce(settings), atOnce);
}

WIFITICKETER_TEST(KeypadTest)
#include "keypadtest.moc"
