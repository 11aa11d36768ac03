#include "accessiblesearch.h"
#include "nextmodal.h"
#include "testmain.h"

#include "ui/setup/cfontselectdialog.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Installed on the test machines (fonts-dejavu-core, fonts-crosextra-carlito),
// both scalable.
const QString Face = u"DejaVu Sans"_s;
const QString OtherFace = u"Carlito"_s;

const QString NameLabel = u"Nome da fonte"_s;
const QString SizeLabel = u"Tamanho"_s;

// A bitmap face drawn at 16 pixels only, which is 12 pt on a 96-dpi screen.
const QByteArray BitmapFont = R"(STARTFONT 2.1
FONT -wt-Tickettest-Medium-R-Normal--16-120-96-96-C-80-ISO10646-1
SIZE 12 96 96
FONTBOUNDINGBOX 8 16 0 -4
STARTPROPERTIES 8
FAMILY_NAME "Tickettest"
WEIGHT_NAME "Medium"
PIXEL_SIZE 16
POINT_SIZE 120
FONT_ASCENT 12
FONT_DESCENT 4
CHARSET_REGISTRY "ISO10646"
CHARSET_ENCODING "1"
ENDPROPERTIES
CHARS 2
STARTCHAR space
ENCODING 32
SWIDTH 500 0
DWIDTH 8 0
BBX 1 1 0 0
BITMAP
00
ENDCHAR
STARTCHAR A
ENCODING 65
SWIDTH 500 0
DWIDTH 8 0
BBX 8 12 0 0
BITMAP
18
24
42
42
42
7E
42
42
42
42
42
00
ENDCHAR
ENDFONT
)"_ba;
const QString BitmapFace = u"Tickettest"_s;

QListWidget *list(QWidget *root, const QString &label)
{
    QAccessibleInterface *found = findAccessible(root, QAccessible::List, label);
    return found ? qobject_cast<QListWidget *>(found->object()) : nullptr;
}

QAbstractButton *okButton(QWidget *root)
{
    return findAccessibleWidget<QAbstractButton>(root, QAccessible::Button, u"Ok"_s);
}

void click(QWidget *root, QAccessible::Role role, const QString &name)
{
    QAbstractButton *found = findAccessibleWidget<QAbstractButton>(root, role, name);
    QVERIFY2(found, qPrintable(name));
    QTest::mouseClick(found, Qt::LeftButton);
}

// Clears the box and types `text` key by key, as the operator would.
void retype(QWidget *root, const QString &label, const QString &text)
{
    QLineEdit *edit = findField(root, label);
    QVERIFY2(edit, qPrintable(label));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void clickItem(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

QStringList texts(const QListWidget *list)
{
    QStringList all;
    for (int row = 0; row < list->count(); ++row)
        all.append(list->item(row)->text());
    return all;
}

QStringList selectedTexts(const QListWidget *list)
{
    QStringList all;
    for (const QListWidgetItem *item : list->selectedItems())
        all.append(item->text());
    return all;
}

QString currentText(const QListWidget *list)
{
    return list->currentItem() ? list->currentItem()->text() : QString();
}

} // namespace

Q_DECLARE_METATYPE(FontChoice)

class FontDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void opensWithTheStoredFont_data();
    void opensWithTheStoredFont();
    void okStoresTheChoice_data();
    void okStoresTheChoice();
    void unusableSizesKeepOkDisabled_data();
    void unusableSizesKeepOkDisabled();
    void typingTheNameFocusesThenSelects_data();
    void typingTheNameFocusesThenSelects();
    void faceAndSizeListsFillTheBoxes();
    void bitmapFaceOffersItsOwnSizes();
    void cancelLeavesTheChoice_data();
    void cancelLeavesTheChoice();
};

void FontDialogTest::initTestCase()
{
    const QStringList families = QFontDatabase::families();
    for (const QString &face : {Face, OtherFace}) {
        if (!families.contains(face))
            QSKIP(qPrintable(u"The font "_s + face + u" is not installed"_s));
    }
    QVERIFY(QFontDatabase::addApplicationFontFromData(BitmapFont) >= 0);
}

void FontDialogTest::opensWithTheStoredFont_data()
{
    QTest::addColumn<FontChoice>("stored");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QStringList>("selectedFace");
    QTest::addColumn<QStringList>("selectedSize");
    QTest::addColumn<bool>("ok");

    const QStringList face{Face};
    // clang-format off
    QTest::addRow("half point size, italic")
        << FontChoice{Face, 21, false, true} << Face << u"10.5"_s << face << QStringList() << true;
    QTest::addRow("whole size in the list, bold")
        << FontChoice{Face, 20, true, false} << Face << u"10"_s << face << QStringList{u"10"_s} << true;
    QTest::addRow("face in other letter case")
        << FontChoice{u"dejavu sans"_s, 144, true, true} << u"dejavu sans"_s << u"72"_s << face
        << QStringList{u"72"_s} << true;
    QTest::addRow("face not installed")
        << FontChoice{u"Arial Nonexistent"_s, 24, false, false} << u"Arial Nonexistent"_s << u"12"_s
        << QStringList() << QStringList() << false;
    QTest::addRow("no size")
        << FontChoice{Face, 0, false, false} << Face << u"0"_s << face << QStringList() << false;
    // clang-format on
}

void FontDialogTest::opensWithTheStoredFont()
{
    QFETCH(FontChoice, stored);
    QFETCH(QString, name);
    QFETCH(QString, size);
    QFETCH(QStringList, selectedFace);
    QFETCH(QStringList, selectedSize);
    QFETCH(bool, ok);

    CFontSelectDialog dialog(QString(), stored);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QCOMPARE(dialog.windowTitle(), u"Seleção de fonte"_s);
    QLineEdit *nameBox = findField(&dialog, NameLabel);
    QLineEdit *sizeBox = findField(&dialog, SizeLabel);
    QListWidget *faces = list(&dialog, NameLabel);
    QListWidget *sizes = list(&dialog, SizeLabel);
    QVERIFY(nameBox && sizeBox && faces && sizes);
    QCOMPARE(nameBox->text(), name);
    QCOMPARE(sizeBox->text(), size);
    QCOMPARE(selectedTexts(faces), selectedFace);
    QCOMPARE(selectedTexts(sizes), selectedSize);
    QAbstractButton *bold =
        findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::CheckBox, u"Negrito"_s);
    QAbstractButton *italic =
        findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::CheckBox, u"Itálico"_s);
    QVERIFY(bold && italic);
    QCOMPARE(bold->isChecked(), stored.bold);
    QCOMPARE(italic->isChecked(), stored.italic);
    QVERIFY(findAccessible(&dialog, QAccessible::Grouping, u"Estilo"_s));
    QVERIFY(findAccessibleWidget<QAbstractButton>(&dialog, QAccessible::Button, u"Cancelar"_s));
    QVERIFY(okButton(&dialog));
    QCOMPARE(okButton(&dialog)->isEnabled(), ok);
}

void FontDialogTest::okStoresTheChoice_data()
{
    QTest::addColumn<QString>("typedSize");
    QTest::addColumn<qint32>("halfPoints");

    QTest::addRow("whole points") << u"12"_s << 24;
    QTest::addRow("decimal point") << u"10.5"_s << 21;
    QTest::addRow("decimal comma") << u"10,5"_s << 21;
    QTest::addRow("below a half point is cut") << u"10.9"_s << 21;
    QTest::addRow("smallest size") << u"0.5"_s << 1;
    QTest::addRow("largest size") << u"1638"_s << 3276;
}

void FontDialogTest::okStoresTheChoice()
{
    QFETCH(QString, typedSize);
    QFETCH(qint32, halfPoints);

    FontChoice font{OtherFace, 20, false, true};
    bool answered = false;
    onNextModal([&](QWidget *dialog) {
        answered = true;
        retype(dialog, NameLabel, Face);
        retype(dialog, SizeLabel, typedSize);
        click(dialog, QAccessible::CheckBox, u"Negrito"_s);
        click(dialog, QAccessible::CheckBox, u"Itálico"_s);
        QVERIFY(okButton(dialog)->isEnabled());
        QTest::keyClick(findField(dialog, SizeLabel), Qt::Key_Return);
    });
    QVERIFY(selectFont(QString(), nullptr, font));

    QVERIFY(answered);
    QCOMPARE(font.face, Face);
    QCOMPARE(font.halfPoints, halfPoints);
    QCOMPARE(font.bold, true);
    QCOMPARE(font.italic, false);
}

void FontDialogTest::unusableSizesKeepOkDisabled_data()
{
    QTest::addColumn<QString>("typedSize");

    QTest::addRow("zero") << u"0"_s;
    QTest::addRow("less than a half point") << u"0.3"_s;
    QTest::addRow("not a number") << u"abc"_s;
    QTest::addRow("empty") << QString();
    QTest::addRow("negative") << u"-12"_s;
    QTest::addRow("two separators") << u"10.5.1"_s;
    QTest::addRow("beyond the largest size") << u"1638.5"_s;
    QTest::addRow("no end") << u"inf"_s;
}

void FontDialogTest::unusableSizesKeepOkDisabled()
{
    QFETCH(QString, typedSize);

    CFontSelectDialog dialog(QString(), FontChoice{Face, 20, false, false});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QVERIFY(okButton(&dialog)->isEnabled());
    retype(&dialog, SizeLabel, typedSize);

    QVERIFY(!okButton(&dialog)->isEnabled());
    QTest::keyClick(findField(&dialog, SizeLabel), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    // A usable size again enables it.
    retype(&dialog, SizeLabel, u"9"_s);
    QVERIFY(okButton(&dialog)->isEnabled());
}

void FontDialogTest::typingTheNameFocusesThenSelects_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QStringList>("selected");

    // clang-format off
    QTest::addRow("a beginning focuses without selecting")
        << u"dejavu s"_s << Face << QStringList();
    QTest::addRow("the whole name in other case selects")
        << u"dejavu sans"_s << Face << QStringList{Face};
    QTest::addRow("a beginning of the selected face unselects it")
        << u"carl"_s << OtherFace << QStringList();
    // clang-format on
}

void FontDialogTest::typingTheNameFocusesThenSelects()
{
    QFETCH(QString, typed);
    QFETCH(QString, focused);
    QFETCH(QStringList, selected);

    CFontSelectDialog dialog(QString(), FontChoice{OtherFace, 24, false, false});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QListWidget *faces = list(&dialog, NameLabel);
    QCOMPARE(selectedTexts(faces), QStringList{OtherFace});
    retype(&dialog, NameLabel, typed);

    QCOMPARE(selectedTexts(faces), selected);
    QCOMPARE(currentText(faces), focused);
    // Typing is never rewritten by the list.
    QCOMPARE(findField(&dialog, NameLabel)->text(), typed);
    QCOMPARE(okButton(&dialog)->isEnabled(), !selected.isEmpty());
    if (!selected.isEmpty()) {
        QCOMPARE(list(&dialog, SizeLabel)->count(), 16);
        QCOMPARE(selectedTexts(list(&dialog, SizeLabel)), QStringList{u"12"_s});
    }
}

void FontDialogTest::faceAndSizeListsFillTheBoxes()
{
    CFontSelectDialog dialog(QString(), FontChoice{u"nothing such"_s, 21, false, false});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QListWidget *faces = list(&dialog, NameLabel);
    QListWidget *sizes = list(&dialog, SizeLabel);
    QCOMPARE(sizes->count(), 0);

    clickItem(faces, Face);
    QCOMPARE(findField(&dialog, NameLabel)->text(), Face);
    const QStringList fixedSizes = {u"8"_s,  u"9"_s,  u"10"_s, u"11"_s, u"12"_s, u"14"_s, u"16"_s, u"18"_s,
                                    u"20"_s, u"22"_s, u"24"_s, u"26"_s, u"28"_s, u"36"_s, u"48"_s, u"72"_s};
    QCOMPARE(texts(sizes), fixedSizes);
    QCOMPARE(selectedTexts(sizes), QStringList());
    QVERIFY(okButton(&dialog)->isEnabled());

    clickItem(sizes, u"36"_s);
    QCOMPARE(findField(&dialog, SizeLabel)->text(), u"36"_s);
    // Typing a size that is in the list selects it; one that is not clears it.
    retype(&dialog, SizeLabel, u"14"_s);
    QCOMPARE(selectedTexts(sizes), QStringList{u"14"_s});
    retype(&dialog, SizeLabel, u"14.0"_s);
    QCOMPARE(selectedTexts(sizes), QStringList());
    QCOMPARE(findField(&dialog, SizeLabel)->text(), u"14.0"_s);

    // The faces are in order whatever their case, each once.
    const QStringList listed = texts(faces);
    for (qsizetype i = 1; i < listed.size(); ++i)
        QVERIFY2(listed.at(i - 1).compare(listed.at(i), Qt::CaseInsensitive) < 0, qPrintable(listed.at(i)));
    QVERIFY(!faces->item(0)->icon().isNull());

    click(&dialog, QAccessible::Button, u"Ok"_s);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const FontChoice chosen = dialog.font();
    QCOMPARE(chosen.face, Face);
    QCOMPARE(chosen.halfPoints, 28);
}

void FontDialogTest::bitmapFaceOffersItsOwnSizes()
{
    CFontSelectDialog dialog(u"wifiticketer-pdf"_s, FontChoice{BitmapFace, 24, false, false});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QListWidget *faces = list(&dialog, NameLabel);
    QCOMPARE(selectedTexts(faces), QStringList{BitmapFace});
    QCOMPARE(texts(list(&dialog, SizeLabel)), QStringList{u"12"_s});
    QCOMPARE(selectedTexts(list(&dialog, SizeLabel)), QStringList{u"12"_s});

    // Bitmap and scalable faces are told apart by their icons.
    const QListWidgetItem *bitmap = faces->findItems(BitmapFace, Qt::MatchExactly).value(0);
    const QListWidgetItem *scalable = faces->findItems(Face, Qt::MatchExactly).value(0);
    QVERIFY(bitmap && scalable);
    QVERIFY(!bitmap->icon().isNull() && !scalable->icon().isNull());
    QVERIFY(bitmap->icon().pixmap(16).toImage() != scalable->icon().pixmap(16).toImage());
}

void FontDialogTest::cancelLeavesTheChoice_data()
{
    QTest::addColumn<bool>("escape");

    QTest::addRow("Cancelar") << false;
    QTest::addRow("Escape") << true;
}

void FontDialogTest::cancelLeavesTheChoice()
{
    QFETCH(bool, escape);

    FontChoice font{OtherFace, 21, true, false};
    bool answered = false;
    onNextModal([&](QWidget *dialog) {
        answered = true;
        QCOMPARE(findField(dialog, SizeLabel)->text(), u"10.5"_s);
        retype(dialog, NameLabel, Face);
        retype(dialog, SizeLabel, u"30"_s);
        click(dialog, QAccessible::CheckBox, u"Negrito"_s);
        QVERIFY(okButton(dialog)->isEnabled());
        if (escape)
            QTest::keyClick(findField(dialog, SizeLabel), Qt::Key_Escape);
        else
            click(dialog, QAccessible::Button, u"Cancelar"_s);
        QVERIFY(!dialog->isVisible());
    });
    QVERIFY(!selectFont(QString(), nullptr, font));

    QVERIFY(answered);
    QCOMPARE(font.face, OtherFace);
    QCOMPARE(font.halfPoints, 21);
    QCOMPARE(font.bold, true);
    QCOMPARE(font.italic, false);
}

WIFITICKETER_TEST(FontDialogTest)
#include "fontdialogtest.moc"
