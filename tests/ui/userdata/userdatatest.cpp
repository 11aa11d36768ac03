#include "accessiblesearch.h"
#include "nextmodal.h"
#include "scriptedinteraction.h"
#include "testmain.h"

#include "config/appsettings.h"
#include "generation/voucherrecord.h"
#include "ui/framework/ceditbox.h"
#include "ui/framework/ceditcombo.h"
#include "ui/framework/cuserdatabaselist.h"
#include "ui/userdata/cuserdatabasedlg.h"
#include "ui/userdata/cuserdatadlg.h"
#include "ui/userdata/dialoguserdataprompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QAbstractButton *buttonByText(QWidget *root, const QString &text)
{
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// The field the operator sees beside that label.
QLineEdit *field(QWidget *dialog, const QString &label)
{
    QAccessibleInterface *found = findAccessible(dialog, QAccessible::EditableText, label);
    return found ? qobject_cast<QLineEdit *>(found->object()) : nullptr;
}

bool isReadOnly(QWidget *dialog, const QString &label)
{
    return findAccessible(dialog, QAccessible::EditableText, label)->state().readOnly;
}

// Pastes text the keyboard could not type (control characters, for one).
void paste(QLineEdit *edit, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

const QStringList DataLabels = {u"First Name:"_s, u"Last Name:"_s, u"Phone:"_s,
                                u"Location:"_s,   u"Comment:"_s,   u"Email:"_s};

// 60 characters typed; the fields keep the first 50.
const QString SixtyCharacters = u"abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghij"_s;
const QString FiftyCharacters = u"abcdefghijabcdefghijabcdefghijabcdefghijabcdefghij"_s;

const QString ControlCharacterProblem = u"O nome de usuário não pode conter caracteres de controle."_s;

} // namespace

// The user-data prompt.
class CUserDataDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fieldStates_data();
    void fieldStates();
    void okFollowsTheTypedName_data();
    void okFollowsTheTypedName();
    void clickedRowGivesTheListSpelling();
    void confirmStoresEveryField();
    void cancelChangesNothing();
    void randomNameCannotChange();
    void fieldsTakeFiftyCharacters_data();
    void fieldsTakeFiftyCharacters();
    void controlCharactersAreRefused_data();
    void controlCharactersAreRefused();
    void promptOpensOverItsParent_data();
    void promptOpensOverItsParent();

private:
    AppSettings m_settings;
    QStringList m_names;
    VoucherRecord m_record;
};

void CUserDataDlgTest::init()
{
    m_settings = AppSettings();
    m_names = {u"ana"_s, u"Anabela"_s, u"bruno"_s};
    m_record = VoucherRecord();
}

void CUserDataDlgTest::fieldStates_data()
{
    QTest::addColumn<bool>("randomName");
    QTest::addColumn<bool>("useDatabase");
    QTest::addColumn<bool>("queryPassword");
    QTest::addColumn<bool>("queryUserData");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("comboShown");
    QTest::addColumn<bool>("nameEditable");
    QTest::addColumn<bool>("passwordEditable");
    QTest::addColumn<bool>("dataEditable");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("okEnabled");

    // clang-format off
    QTest::addRow("random name, customer data")
        << true << false << false << true << u"usr4k2x9a"_s
        << false << false << false << true << u"First Name:"_s << true;
    QTest::addRow("random name with the database on, password")
        << true << true << true << false << u"usr4k2x9a"_s
        << false << false << true << false << u"Password:"_s << true;
    QTest::addRow("random name, password before customer data")
        << true << false << true << true << u"usr4k2x9a"_s
        << false << false << true << true << u"Password:"_s << true;
    QTest::addRow("empty typed name")
        << false << false << false << false << QString()
        << false << true << false << false << u"Username:"_s << false;
    QTest::addRow("given name, password and data")
        << false << false << true << true << u"cliente1"_s
        << false << true << true << true << u"Password:"_s << true;
    QTest::addRow("empty name before password")
        << false << false << true << false << QString()
        << false << true << true << false << u"Username:"_s << false;
    QTest::addRow("given name, data only")
        << false << false << false << true << u"cliente1"_s
        << false << true << false << true << u"First Name:"_s << true;
    QTest::addRow("database, empty name")
        << false << true << false << true << QString()
        << true << true << false << true << u"Username:"_s << false;
    QTest::addRow("database, name in other case")
        << false << true << true << false << u"ANA"_s
        << true << true << true << false << u"Password:"_s << true;
    QTest::addRow("database, only a beginning")
        << false << true << true << false << u"an"_s
        << true << true << true << false << u"Username:"_s << false;
    // clang-format on
}

void CUserDataDlgTest::fieldStates()
{
    QFETCH(bool, randomName);
    QFETCH(bool, useDatabase);
    QFETCH(bool, queryPassword);
    QFETCH(bool, queryUserData);
    QFETCH(QString, name);
    QFETCH(bool, comboShown);
    QFETCH(bool, nameEditable);
    QFETCH(bool, passwordEditable);
    QFETCH(bool, dataEditable);
    QFETCH(QString, focus);
    QFETCH(bool, okEnabled);

    m_settings.UseUserDatabase = useDatabase;
    m_settings.QueryPassword = queryPassword;
    m_settings.QueryUserData = queryUserData;
    m_record.RandomName = randomName;
    m_record.UserName = name;
    m_record.Password = u"x7k2p9"_s;
    m_record.Phone = u"+55 11 5555-0100"_s;
    CUserDataDlg dialog(m_record, m_settings, m_names);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QCOMPARE(dialog.windowTitle(), u"New user data"_s);
    QCOMPARE(dialog.findChild<CEditCombo *>()->isVisible(), comboShown);
    QLineEdit *nameField = field(&dialog, u"Username:"_s);
    QVERIFY(nameField);
    QCOMPARE(nameField->text(), name);
    QCOMPARE(!isReadOnly(&dialog, u"Username:"_s), nameEditable);
    QCOMPARE(field(&dialog, u"Password:"_s)->text(), u"x7k2p9"_s);
    QCOMPARE(!isReadOnly(&dialog, u"Password:"_s), passwordEditable);
    QCOMPARE(field(&dialog, u"Phone:"_s)->text(), u"+55 11 5555-0100"_s);
    for (const QString &label : DataLabels)
        QCOMPARE(!isReadOnly(&dialog, label), dataEditable);
    QCOMPARE(dialog.focusWidget(), field(&dialog, focus));
    QCOMPARE(buttonByText(&dialog, u"&Ok"_s)->isEnabled(), okEnabled);
    QVERIFY(buttonByText(&dialog, u"&Cancel"_s));
}

void CUserDataDlgTest::okFollowsTheTypedName_data()
{
    QTest::addColumn<bool>("useDatabase");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("okEnabled");

    QTest::addRow("database: a beginning") << true << u"an"_s << false;
    QTest::addRow("database: a name in other case") << true << u"ANA"_s << true;
    QTest::addRow("database: all but the last letter") << true << u"anabel"_s << false;
    QTest::addRow("database: a whole name") << true << u"Anabela"_s << true;
    QTest::addRow("database: not a name") << true << u"carla"_s << false;
    QTest::addRow("no database: any name") << false << u"carla"_s << true;
}

void CUserDataDlgTest::okFollowsTheTypedName()
{
    QFETCH(bool, useDatabase);
    QFETCH(QString, typed);
    QFETCH(bool, okEnabled);

    m_settings.UseUserDatabase = useDatabase;
    CUserDataDlg dialog(m_record, m_settings, m_names);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QAbstractButton *ok = buttonByText(&dialog, u"&Ok"_s);
    QVERIFY(!ok->isEnabled());
    QTest::keyClicks(field(&dialog, u"Username:"_s), typed);
    QCOMPARE(ok->isEnabled(), okEnabled);

    // Enter confirms only what OK would.
    QTest::keyClick(field(&dialog, u"Username:"_s), Qt::Key_Return);
    QCOMPARE(dialog.isVisible(), !okEnabled);
    QCOMPARE(m_record.UserName, okEnabled ? typed : QString());
}

void CUserDataDlgTest::clickedRowGivesTheListSpelling()
{
    m_settings.UseUserDatabase = true;
    CUserDataDlg dialog(m_record, m_settings, m_names);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClicks(field(&dialog, u"Username:"_s), u"ANAB"_s);
    CUserDatabaseList *list = dialog.findChild<CUserDatabaseList *>();
    QVERIFY(list->isVisible());
    QCOMPARE(list->matches(), QStringList{u"Anabela"_s});
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(0, 0)).center());
    QTest::mouseClick(buttonByText(&dialog, u"&Ok"_s), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_record.UserName, u"Anabela"_s);
}

void CUserDataDlgTest::confirmStoresEveryField()
{
    m_settings.QueryPassword = true;
    m_settings.QueryUserData = true;
    m_record.RandomName = true;
    m_record.UserName = u"usr4k2x9a"_s;
    CUserDataDlg dialog(m_record, m_settings, m_names);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const QStringList typed = {u"Maria"_s,     u"Souza"_s, u"+55 11 5555-0100"_s,
                               u"Quarto 12"_s, u"pago"_s,  u"maria@example.com"_s};
    QTest::keyClicks(field(&dialog, u"Password:"_s), u"s3nha"_s);
    for (qsizetype i = 0; i < DataLabels.size(); ++i)
        QTest::keyClicks(field(&dialog, DataLabels[i]), typed[i]);
    QTest::mouseClick(buttonByText(&dialog, u"&Ok"_s), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_record.UserName, u"usr4k2x9a"_s);
    QCOMPARE(m_record.Password, u"s3nha"_s);
    QCOMPARE(m_record.FirstName, u"Maria"_s);
    QCOMPARE(m_record.LastName, u"Souza"_s);
    QCOMPARE(m_record.Phone, u"+55 11 5555-0100"_s);
    QCOMPARE(m_record.Location, u"Quarto 12"_s);
    QCOMPARE(m_record.Comment, u"pago"_s);
    QCOMPARE(m_record.Email, u"maria@example.com"_s);
}

void CUserDataDlgTest::cancelChangesNothing()
{
    m_settings.QueryPassword = true;
    m_settings.QueryUserData = true;
    m_record.UserName = u"cliente1"_s;
    m_record.Comment = u"antes"_s;
    CUserDataDlg dialog(m_record, m_settings, m_names);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClicks(field(&dialog, u"Username:"_s), u"x"_s);
    QTest::keyClicks(field(&dialog, u"Password:"_s), u"s3nha"_s);
    QTest::keyClicks(field(&dialog, u"Comment:"_s), u" depois"_s);
    QTest::mouseClick(buttonByText(&dialog, u"&Cancel"_s), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_record.UserName, u"cliente1"_s);
    QCOMPARE(m_record.Password, QString());
    QCOMPARE(m_record.Comment, u"antes"_s);
}

void CUserDataDlgTest::randomNameCannotChange()
{
    // A prefix of 55 characters makes a name longer than a typed one may be;
    // the program's own name is shown and kept whole.
    const QString longName = u"hotspotvoucherdoshoppingcentralnorteterceiropisoloja12a"_s + u"k2x9a7"_s;
    m_settings.QueryPassword = true;
    m_settings.UseUserDatabase = true;
    m_record.RandomName = true;
    m_record.UserName = longName;
    CUserDataDlg dialog(m_record, m_settings, m_names);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *name = field(&dialog, u"Username:"_s);
    QCOMPARE(name->text(), longName);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, u"zz"_s);
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(name->text(), longName);
    QVERIFY(buttonByText(&dialog, u"&Ok"_s)->isEnabled());
    QTest::mouseClick(buttonByText(&dialog, u"&Ok"_s), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_record.UserName, longName);
}

void CUserDataDlgTest::fieldsTakeFiftyCharacters_data()
{
    QTest::addColumn<bool>("useDatabase");
    QTest::addColumn<QString>("label");
    QTest::addRow("name") << false << u"Username:"_s;
    QTest::addRow("name from the database") << true << u"Username:"_s;
    QTest::addRow("password") << false << u"Password:"_s;
    for (const QString &label : DataLabels)
        QTest::addRow("%s", qPrintable(label)) << false << label;
}

void CUserDataDlgTest::fieldsTakeFiftyCharacters()
{
    QFETCH(bool, useDatabase);
    QFETCH(QString, label);
    m_settings.UseUserDatabase = useDatabase;
    m_settings.QueryPassword = true;
    m_settings.QueryUserData = true;
    CUserDataDlg dialog(m_record, m_settings, m_names);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *edit = field(&dialog, label);
    QVERIFY(edit);
    QTest::keyClicks(edit, SixtyCharacters);
    QCOMPARE(edit->text(), FiftyCharacters);
}

void CUserDataDlgTest::controlCharactersAreRefused_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addRow("bell") << u"ab\u0007c"_s;
    QTest::addRow("line break") << u"ab\ncd"_s;
    QTest::addRow("right-to-left override") << u"abc\u202Egnp.exe"_s;
    QTest::addRow("zero-width joiner") << u"a\u200Db"_s;
}

void CUserDataDlgTest::controlCharactersAreRefused()
{
    QFETCH(QString, pasted);

    // Typed into the plain name edit.
    {
        CUserDataDlg dialog(m_record, m_settings, m_names);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QLineEdit *name = field(&dialog, u"Username:"_s);
        paste(name, pasted);
        QCOMPARE(name->text(), pasted);
        QVERIFY(!buttonByText(&dialog, u"&Ok"_s)->isEnabled());
        QVERIFY(findAccessible(&dialog, QAccessible::StaticText, ControlCharacterProblem));
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_record.UserName, QString());

        // Taking it out again clears the reason.
        name->setText(u"abc"_s);
        QVERIFY(buttonByText(&dialog, u"&Ok"_s)->isEnabled());
        QVERIFY(!findAccessible(&dialog, QAccessible::StaticText, ControlCharacterProblem));
    }

    // Picked from a username list that holds it.
    m_settings.UseUserDatabase = true;
    m_names.append(pasted);
    CUserDataDlg dialog(m_record, m_settings, m_names);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClicks(field(&dialog, u"Username:"_s), u"a"_s);
    CUserDatabaseList *list = dialog.findChild<CUserDatabaseList *>();
    const QModelIndex hostile = list->model()->index(int(list->matches().indexOf(pasted)), 0);
    QVERIFY(hostile.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(hostile).center());
    QCOMPARE(dialog.findChild<CEditCombo *>()->text(), pasted);
    QVERIFY(!buttonByText(&dialog, u"&Ok"_s)->isEnabled());
    QVERIFY(findAccessible(&dialog, QAccessible::StaticText, ControlCharacterProblem));
    QTest::keyClick(field(&dialog, u"Username:"_s), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_record.UserName, QString());
}

void CUserDataDlgTest::promptOpensOverItsParent_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("password");
    QTest::addRow("ok") << u"&Ok"_s << true << u"s3nha"_s;
    QTest::addRow("cancel") << u"&Cancel"_s << false << QString();
}

void CUserDataDlgTest::promptOpensOverItsParent()
{
    QFETCH(QString, press);
    QFETCH(bool, confirmed);
    QFETCH(QString, password);

    QWidget parent;
    m_settings.QueryPassword = true;
    m_settings.UseUserDatabase = true;
    DialogUserDataPrompt prompt(&parent, m_settings, m_names);
    // The prompt reads the username list as it is when it opens.
    m_names.append(u"zeca"_s);
    onNextModal([&](QWidget *dialog) {
        QVERIFY(qobject_cast<CUserDataDlg *>(dialog));
        QCOMPARE(dialog->parentWidget(), &parent);
        QTest::keyClicks(field(dialog, u"Username:"_s), u"Zeca"_s);
        QTest::keyClicks(field(dialog, u"Password:"_s), u"s3nha"_s);
        QTest::mouseClick(buttonByText(dialog, press), Qt::LeftButton);
    });
    QCOMPARE(prompt.askUserData(m_record), confirmed);
    QCOMPARE(m_record.UserName, confirmed ? u"Zeca"_s : QString());
    QCOMPARE(m_record.Password, password);
}

// The username database dialog.
class CUserDatabaseDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void opensWithTheListAsItIs();
    void add_data();
    void add();
    void edit_data();
    void edit();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void okReplacesTheListCancelKeepsIt_data();
    void okReplacesTheListCancelKeepsIt();
};

namespace {

QString selectedName(CUserDatabaseDlg &dialog)
{
    const QModelIndexList selected = dialog.view()->selectionModel()->selectedRows();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

void selectName(CUserDatabaseDlg &dialog, const QString &name)
{
    QListView *view = dialog.view();
    const int row = int(dialog.names().indexOf(name));
    QVERIFY(row >= 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(row, 0)).center());
}

// Answers the next name input box: checks the value it starts with, types
// (or pastes, when `pasted` is set) a new one and presses the button. The flag
// tells whether the box was answered.
std::shared_ptr<bool> answerNameBox(const QString &initial, const QString &typed, const QString &press,
                                    bool pasted = false)
{
    auto answered = std::make_shared<bool>(false);
    onNextModal([=](QWidget *dialog) {
        auto *box = qobject_cast<CEditBox *>(dialog);
        QVERIFY(box);
        *answered = true;
        QLineEdit *edit = field(box, u"Nome do Usuário"_s);
        QVERIFY(edit);
        QCOMPARE(edit->text(), initial);
        QCOMPARE(edit->selectedText(), initial);
        if (pasted)
            paste(edit, typed);
        else if (typed.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, typed);
        QTest::mouseClick(buttonByText(box, press), Qt::LeftButton);
    });
    return answered;
}

} // namespace

void CUserDatabaseDlgTest::opensWithTheListAsItIs()
{
    ScriptedInteraction interaction;
    CUserDatabaseDlg dialog({u"bob"_s, u"Ana"_s, u"carl"_s}, interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.windowTitle(), u"Username database"_s);
    QCOMPARE(dialog.names(), (QStringList{u"bob"_s, u"Ana"_s, u"carl"_s}));
    for (const QString &text : {u"Adicionar"_s, u"Ok"_s, u"Cancelar"_s})
        QVERIFY(buttonByText(&dialog, text)->isEnabled());
    QVERIFY(!buttonByText(&dialog, u"Editar"_s)->isEnabled());
    QVERIFY(!buttonByText(&dialog, u"Apagar"_s)->isEnabled());

    // The rows are found by their names.
    QVERIFY(findAccessible(dialog.view(), QAccessible::ListItem, u"carl"_s));
    selectName(dialog, u"carl"_s);
    QVERIFY(buttonByText(&dialog, u"Editar"_s)->isEnabled());
    QVERIFY(buttonByText(&dialog, u"Apagar"_s)->isEnabled());
}

void CUserDatabaseDlgTest::add_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("messages");

    QTest::addRow("a new name, rows sorted ignoring case")
        << QStringList{u"bob"_s, u"Ana"_s, u"carl"_s} << u"Davi"_s << u"&Ok"_s << false
        << QStringList{u"Ana"_s, u"bob"_s, u"carl"_s, u"Davi"_s} << u"Davi"_s << QStringList{};
    QTest::addRow("other case is another name")
        << QStringList{u"Ana"_s, u"bob"_s} << u"ana"_s << u"&Ok"_s << false
        << QStringList{u"Ana"_s, u"ana"_s, u"bob"_s} << u"ana"_s << QStringList{};
    QTest::addRow("same name is selected, not added")
        << QStringList{u"bob"_s, u"Ana"_s} << u"Ana"_s << u"&Ok"_s << false << QStringList{u"Ana"_s, u"bob"_s}
        << u"Ana"_s << QStringList{};
    QTest::addRow("empty name") << QStringList{u"bob"_s, u"Ana"_s} << QString() << u"&Ok"_s << false
                                << QStringList{u"bob"_s, u"Ana"_s} << QString() << QStringList{};
    QTest::addRow("cancelled") << QStringList{u"bob"_s, u"Ana"_s} << u"Davi"_s << u"&Cancelar"_s << false
                               << QStringList{u"bob"_s, u"Ana"_s} << QString() << QStringList{};
    QTest::addRow("control character refused")
        << QStringList{u"bob"_s} << u"da\u202Evi"_s << u"&Ok"_s << true << QStringList{u"bob"_s} << QString()
        << QStringList{u"O nome de usuário não pode conter caracteres de controle."_s};
    QTest::addRow("long name cut to the history's 50")
        << QStringList{u"bob"_s} << SixtyCharacters << u"&Ok"_s << false
        << QStringList{FiftyCharacters, u"bob"_s} << FiftyCharacters << QStringList{};
}

void CUserDatabaseDlgTest::add()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(QString, press);
    QFETCH(bool, pasted);
    QFETCH(QStringList, after);
    QFETCH(QString, selected);
    QFETCH(QStringList, messages);

    ScriptedInteraction interaction;
    CUserDatabaseDlg dialog(before, interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const auto answered = answerNameBox(QString(), typed, press, pasted);
    QTest::mouseClick(buttonByText(&dialog, u"Adicionar"_s), Qt::LeftButton);
    QVERIFY(*answered);

    QCOMPARE(dialog.names(), after);
    QCOMPARE(selectedName(dialog), selected);
    QCOMPARE(interaction.texts(), messages);
    for (const ScriptedInteraction::Event &event : std::as_const(interaction.events))
        QCOMPARE(event.icon, MessageIcon::Error);
}

void CUserDatabaseDlgTest::edit_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("editing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("selected");

    QTest::addRow("renamed and sorted")
        << QStringList{u"Ana"_s, u"bob"_s, u"carl"_s} << u"bob"_s << u"Zeca"_s << u"&Ok"_s
        << QStringList{u"Ana"_s, u"carl"_s, u"Zeca"_s} << u"Zeca"_s;
    QTest::addRow("same text elsewhere is merged")
        << QStringList{u"carl"_s, u"Ana"_s, u"bob"_s, u"carl"_s} << u"bob"_s << u"carl"_s << u"&Ok"_s
        << QStringList{u"Ana"_s, u"carl"_s} << u"carl"_s;
    QTest::addRow("other case is not merged")
        << QStringList{u"Ana"_s, u"bob"_s, u"Carl"_s} << u"bob"_s << u"carl"_s << u"&Ok"_s
        << QStringList{u"Ana"_s, u"carl"_s, u"Carl"_s} << u"carl"_s;
    QTest::addRow("emptied") << QStringList{u"Ana"_s, u"bob"_s} << u"bob"_s << QString() << u"&Ok"_s
                             << QStringList{u"Ana"_s, u"bob"_s} << u"bob"_s;
    QTest::addRow("cancelled") << QStringList{u"Ana"_s, u"bob"_s} << u"bob"_s << u"Zeca"_s << u"&Cancelar"_s
                               << QStringList{u"Ana"_s, u"bob"_s} << u"bob"_s;
}

void CUserDatabaseDlgTest::edit()
{
    QFETCH(QStringList, before);
    QFETCH(QString, editing);
    QFETCH(QString, typed);
    QFETCH(QString, press);
    QFETCH(QStringList, after);
    QFETCH(QString, selected);

    ScriptedInteraction interaction;
    CUserDatabaseDlg dialog(before, interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    selectName(dialog, editing);
    const auto answered = answerNameBox(editing, typed, press);
    QTest::mouseClick(buttonByText(&dialog, u"Editar"_s), Qt::LeftButton);
    QVERIFY(*answered);

    QCOMPARE(dialog.names(), after);
    QCOMPARE(selectedName(dialog), selected);
    QVERIFY(interaction.events.isEmpty());
}

void CUserDatabaseDlgTest::deleteAsksFirst_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("after");
    QTest::addRow("yes") << Answer::Yes << QStringList{u"Ana"_s, u"carl"_s};
    QTest::addRow("no") << Answer::No << QStringList{u"Ana"_s, u"bob"_s, u"carl"_s};
}

void CUserDatabaseDlgTest::deleteAsksFirst()
{
    QFETCH(Answer, answer);
    QFETCH(QStringList, after);

    ScriptedInteraction interaction;
    interaction.answer({answer});
    CUserDatabaseDlg dialog({u"Ana"_s, u"bob"_s, u"carl"_s}, interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    selectName(dialog, u"bob"_s);
    QTest::mouseClick(buttonByText(&dialog, u"Apagar"_s), Qt::LeftButton);

    QCOMPARE(interaction.events.size(), 1);
    QCOMPARE(interaction.events[0].kind, ScriptedInteraction::Kind::YesNo);
    QCOMPARE(interaction.events[0].text, u"Você quer apagar o usuário selecionado?"_s);
    QCOMPARE(interaction.events[0].icon, MessageIcon::Warning);
    QCOMPARE(dialog.names(), after);
    // With the row gone nothing is selected any more.
    QCOMPARE(buttonByText(&dialog, u"Apagar"_s)->isEnabled(), answer == Answer::No);
}

void CUserDatabaseDlgTest::okReplacesTheListCancelKeepsIt_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QStringList>("after");
    QTest::addRow("Ok") << u"Ok"_s << true << QStringList{u"Ana"_s, u"bob"_s, u"Davi"_s};
    QTest::addRow("Cancelar") << u"Cancelar"_s << false << QStringList{u"bob"_s, u"Ana"_s};
}

void CUserDatabaseDlgTest::okReplacesTheListCancelKeepsIt()
{
    QFETCH(QString, press);
    QFETCH(bool, confirmed);
    QFETCH(QStringList, after);

    QWidget parent;
    ScriptedInteraction interaction;
    QStringList names = {u"bob"_s, u"Ana"_s};
    onNextModal([&](QWidget *dialog) {
        QVERIFY(qobject_cast<CUserDatabaseDlg *>(dialog));
        QCOMPARE(dialog->parentWidget(), &parent);
        const auto answered = answerNameBox(QString(), u"Davi"_s, u"&Ok"_s);
        QTest::mouseClick(buttonByText(dialog, u"Adicionar"_s), Qt::LeftButton);
        QVERIFY(*answered);
        QTest::mouseClick(buttonByText(dialog, press), Qt::LeftButton);
    });
    QCOMPARE(editUserDatabase(&parent, names, interaction), confirmed);
    QCOMPARE(names, after);
}

WIFITICKETER_TEST(CUserDataDlgTest)
WIFITICKETER_TEST(CUserDatabaseDlgTest)

#include "userdatatest.moc"
