#include "accessiblesearch.h"
#include "nextmodal.h"
#include "scriptedinteraction.h"
#include "testmain.h"

#include "session/setupdata.h"
#include "ui/framework/smallimagelist.h"
#include "ui/framework/uiresources.h"
#include "ui/setup/csetupdialog.h"
#include "ui/setup/cusereditdialog.h"
#include "ui/userdata/cuserdatabasedlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(AppUser)

namespace {

const QString NoSettingsUser = u"Não existem usuário(s) com permissões de configuração.\nPor favor crie ao "
                               "menos um usuário com essa permissão."_s;
const QString DeleteQuestion = u"Você quer apagar o usuário selecionado?"_s;

const QString RandomNameBox = u"Gerar nomes de usuários aleatórios"_s;
const QString RandomPasswordBox = u"Gerar Senha aleatória"_s;
const QString UserSizeLabel = u"Tamanho do nome usuário:"_s;
const QString PasswordSizeLabel = u"Tamanho da Senha:"_s;
const QString SerialLabel = u"Codigo:"_s;
const QString CurrencyLabel = u"Moeda:"_s;

const QStringList CheckBoxes = {RandomNameBox,
                                u"Use username database"_s,
                                u"Entrada manual Senha"_s,
                                RandomPasswordBox,
                                u"Utilize somente números em usuário e Senha"_s,
                                u"Solicitar dados do usuário"_s,
                                u"Verificar o usuário após a criação"_s,
                                u"Minimizar para a barra de tarefas ao clicar no botão fechar"_s};

// Two hundred and five characters; names and passwords keep the first 199.
const QString LongText = QString(u"abcdefghij"_s).repeated(20) + u"klmno"_s;

QAbstractButton *button(QWidget *root, const QString &text)
{
    QAccessibleInterface *found = findAccessible(root, QAccessible::PushButton, text);
    if (!found)
        found = findAccessible(root, QAccessible::CheckBox, text);
    return found ? qobject_cast<QAbstractButton *>(found->object()) : nullptr;
}

// Clicks a check box on its box, not on the empty end of a wide row.
void tick(QAbstractButton *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

// Replaces the field's text the way the operator does: select all, delete, type.
void retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QImage image(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The page with three program users (one without a name) and generation
// rules different from the defaults, shown as a window of its own.
struct Page
{
    Page()
    {
        loadUiResources(resources);
        data.users = {{u"dono"_s, u"Segredo"_s, true, false, true},
                      {u"caixa"_s, u"1234"_s, false, true, false},
                      {QString(), QString(), false, true, true}};
        data.userNames = {u"ana"_s, u"bruno"_s};
        AppSettings &s = data.settings;
        s.CreateRandomUserName = true;
        s.GenerateUserSize = 8;
        s.UseUserDatabase = true;
        s.QueryPassword = false;
        s.CreateRandomPassword = true;
        s.GeneratePasswordSize = 5;
        s.UseOnlyNumbers = true;
        s.VoucherSerial = 1234;
        s.UseCurrency = u"R$ %c"_s;
        s.QueryUserData = true;
        s.VerifyCreatedUser = false;
        s.MinimizeToTray = false;
    }

    bool open()
    {
        page.initialize(data);
        page.show();
        return QTest::qWaitForWindowActive(&page);
    }

    SetupData saved()
    {
        SetupData out;
        page.save(out);
        return out;
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int i = 0; i < page.usersView()->count(); ++i)
            texts.append(page.usersView()->item(i)->text());
        return texts;
    }

    QString selectedRow() const
    {
        const QList<QListWidgetItem *> selected = page.usersView()->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text();
    }

    void clickRow(int row, bool twice = false)
    {
        QListWidget *view = page.usersView();
        const QPoint at = view->visualItemRect(view->item(row)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    ScriptedInteraction interaction;
    UiResources resources;
    SetupData data;
    CSetupDialog page{interaction, resources};
};

// What the operator does in the user editor.
struct EditorInput
{
    QString name;                    // typed over the name
    std::optional<QString> password; // typed over the password; none: left as it is
    bool settingsAccess = false;
    QString press = u"Ok"_s;
};

// Answers the next user editor, after checking what it opened with. The flag
// tells whether it was answered.
std::shared_ptr<bool> answerEditor(const QString &name, bool settingsAccess, const EditorInput &input)
{
    auto answered = std::make_shared<bool>(false);
    onNextModal([=](QWidget *dialog) {
        QVERIFY(qobject_cast<CUserEditDialog *>(dialog));
        *answered = true;
        QLineEdit *nameEdit = findField(dialog, u"Nome do Usuário"_s);
        QLineEdit *passwordEdit = findField(dialog, u"Senha"_s);
        QAbstractButton *access = button(dialog, u"Permitir acesso as configuraçoes"_s);
        QVERIFY(nameEdit && passwordEdit && access);
        QCOMPARE(nameEdit->text(), name);
        QCOMPARE(passwordEdit->text(), u"########"_s);
        QCOMPARE(access->isChecked(), settingsAccess);
        retype(nameEdit, input.name);
        if (input.password)
            retype(passwordEdit, *input.password);
        if (access->isChecked() != input.settingsAccess)
            tick(access);
        QTest::mouseClick(button(dialog, input.press), Qt::LeftButton);
    });
    return answered;
}

} // namespace

Q_DECLARE_METATYPE(EditorInput)
Q_DECLARE_METATYPE(std::optional<QString>)

// The general page of the setup.
class GeneralPageTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheCopiesByTheirTexts();
    void untouchedPageSavesTheCopies();
    void sizesAreLimited_data();
    void sizesAreLimited();
    void sizeEditFollowsItsBox_data();
    void sizeEditFollowsItsBox();
    void serialField_data();
    void serialField();
    void onlyTypingMarksThePage_data();
    void onlyTypingMarksThePage();
    void addUser_data();
    void addUser();
    void editUser_data();
    void editUser();
    void userNameWithControlCharacterRefused();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void validateWantsASettingsUser_data();
    void validateWantsASettingsUser();
    void usernameDatabase_data();
    void usernameDatabase();
    void tabOrder();
};

void GeneralPageTest::showsTheCopiesByTheirTexts()
{
    Page p;
    QVERIFY(p.open());

    QCOMPARE(p.rows(), (QStringList{u"dono"_s, u"caixa"_s, u"< vazio >"_s}));
    const QImage admin = image(p.resources.listImage(AdminUserImage));
    const QImage plain = image(p.resources.listImage(UserImage));
    QVERIFY(!admin.isNull() && admin != plain);
    QListWidget *view = p.page.usersView();
    QCOMPARE(image(view->item(0)->icon().pixmap(admin.size())), admin);
    QCOMPARE(image(view->item(1)->icon().pixmap(plain.size())), plain);

    // Every control is found by what it shows, as a screen reader finds it.
    QAccessibleInterface *list = findAccessible(&p.page, QAccessible::List, u"Usuários do wifiTicketer"_s);
    QVERIFY(list);
    QCOMPARE(list->object(), view);
    QVERIFY(findAccessible(list->object(), QAccessible::ListItem, u"< vazio >"_s));
    QCOMPARE(findField(&p.page, UserSizeLabel)->text(), u"8"_s);
    QCOMPARE(findField(&p.page, PasswordSizeLabel)->text(), u"5"_s);
    QCOMPARE(findField(&p.page, SerialLabel)->text(), u"1234"_s);
    QCOMPARE(findField(&p.page, CurrencyLabel)->text(), u"R$ %c"_s);
    const QList<bool> ticked = {true, true, false, true, true, true, false, false};
    for (qsizetype i = 0; i < CheckBoxes.size(); ++i) {
        QAbstractButton *box = button(&p.page, CheckBoxes[i]);
        QVERIFY2(box, qPrintable(CheckBoxes[i]));
        QCOMPARE(box->isChecked(), ticked[i]);
    }
    for (const QString &text : {u"Adicionar"_s, u"Database"_s})
        QVERIFY(button(&p.page, text)->isEnabled());
    // Editing and deleting wait for a selection.
    QVERIFY(!button(&p.page, u"Editar"_s)->isEnabled());
    QVERIFY(!button(&p.page, u"Apagar"_s)->isEnabled());
    p.clickRow(1);
    QVERIFY(button(&p.page, u"Editar"_s)->isEnabled());
    QVERIFY(button(&p.page, u"Apagar"_s)->isEnabled());
    QVERIFY(!p.page.isModified());
}

void GeneralPageTest::untouchedPageSavesTheCopies()
{
    Page p;
    QVERIFY(p.open());
    const SetupData out = p.saved();

    // The users come back whole, with the POS window's preferences.
    const QList<AppUser> users = {{u"dono"_s, u"Segredo"_s, true, false, true},
                                  {u"caixa"_s, u"1234"_s, false, true, false},
                                  {QString(), QString(), false, true, true}};
    QCOMPARE(out.users, users);
    QCOMPARE(out.userNames, (QStringList{u"ana"_s, u"bruno"_s}));
    const AppSettings &s = out.settings;
    QCOMPARE(s.CreateRandomUserName, true);
    QCOMPARE(s.GenerateUserSize, 8);
    QCOMPARE(s.UseUserDatabase, true);
    QCOMPARE(s.QueryPassword, false);
    QCOMPARE(s.CreateRandomPassword, true);
    QCOMPARE(s.GeneratePasswordSize, 5);
    QCOMPARE(s.UseOnlyNumbers, true);
    QCOMPARE(s.VoucherSerial, 1234u);
    QCOMPARE(s.UseCurrency, u"R$ %c"_s);
    QCOMPARE(s.QueryUserData, true);
    QCOMPARE(s.VerifyCreatedUser, false);
    QCOMPARE(s.MinimizeToTray, false);
    QVERIFY(!p.page.isModified());
}

void GeneralPageTest::sizesAreLimited_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("saved");
    QTest::addRow("1 becomes 2") << u"1"_s << 2;
    QTest::addRow("25 becomes 12") << u"25"_s << 12;
    QTest::addRow("7 stays") << u"7"_s << 7;
    QTest::addRow("12 stays") << u"12"_s << 12;
    QTest::addRow("13 becomes 12") << u"13"_s << 12;
    QTest::addRow("empty becomes 2") << QString() << 2;
    QTest::addRow("0 becomes 2") << u"0"_s << 2;
    QTest::addRow("leading zero") << u"09"_s << 9;
}

void GeneralPageTest::sizesAreLimited()
{
    QFETCH(QString, typed);
    QFETCH(int, saved);
    Page p;
    QVERIFY(p.open());
    retype(findField(&p.page, UserSizeLabel), typed);
    retype(findField(&p.page, PasswordSizeLabel), typed);
    const SetupData out = p.saved();
    QCOMPARE(out.settings.GenerateUserSize, saved);
    QCOMPARE(out.settings.GeneratePasswordSize, saved);
}

void GeneralPageTest::sizeEditFollowsItsBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("label");
    QTest::addRow("user name") << RandomNameBox << UserSizeLabel;
    QTest::addRow("password") << RandomPasswordBox << PasswordSizeLabel;
}

void GeneralPageTest::sizeEditFollowsItsBox()
{
    QFETCH(QString, box);
    QFETCH(QString, label);
    Page p;
    QVERIFY(p.open());
    QLineEdit *size = findField(&p.page, label);
    QVERIFY(size->isEnabled());
    QTest::keyClicks(size, u"5"_s); // "85" or "55": both above the limit
    tick(button(&p.page, box));
    QVERIFY(!size->isEnabled());
    // Keys do not reach it any more.
    const QString shown = size->text();
    QTest::keyClick(size, Qt::Key_Backspace);
    QCOMPARE(size->text(), shown);

    // Still saved, and limited.
    const SetupData out = p.saved();
    QCOMPARE(label == UserSizeLabel ? out.settings.GenerateUserSize : out.settings.GeneratePasswordSize, 12);
    QCOMPARE(box == RandomNameBox ? out.settings.CreateRandomUserName : out.settings.CreateRandomPassword,
             false);

    tick(button(&p.page, box));
    QVERIFY(size->isEnabled());

    // A page opened with the box unticked starts with the edit disabled.
    Page q;
    q.data.settings.CreateRandomUserName = false;
    q.data.settings.CreateRandomPassword = false;
    QVERIFY(q.open());
    QVERIFY(!findField(&q.page, UserSizeLabel)->isEnabled());
    QVERIFY(!findField(&q.page, PasswordSizeLabel)->isEnabled());
}

void GeneralPageTest::serialField_data()
{
    QTest::addColumn<quint32>("stored");
    QTest::addColumn<std::optional<QString>>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<quint32>("saved");

    QTest::addRow("untouched") << 1234u << std::optional<QString>() << u"1234"_s << 1234u;
    QTest::addRow("nine digits") << 1234u << std::optional<QString>(u"999999999"_s) << u"999999999"_s
                                 << 999999999u;
    QTest::addRow("a tenth digit is refused")
        << 1234u << std::optional<QString>(u"4294967296"_s) << u"429496729"_s << 429496729u;
    QTest::addRow("only digits") << 1234u << std::optional<QString>(u"-1a2 3.4"_s) << u"1234"_s << 1234u;
    QTest::addRow("empty gives 0") << 1234u << std::optional<QString>(QString()) << QString() << 0u;
    // The generator numbers the next voucher 1 after 999999999.
    QTest::addRow("stored past the last serial") << 1000000000u << std::optional<QString>() << u"1"_s << 1u;
    QTest::addRow("stored at the 32-bit end") << 4294967295u << std::optional<QString>() << u"1"_s << 1u;
}

void GeneralPageTest::serialField()
{
    QFETCH(quint32, stored);
    QFETCH(std::optional<QString>, typed);
    QFETCH(QString, shown);
    QFETCH(quint32, saved);
    Page p;
    p.data.settings.VoucherSerial = stored;
    QVERIFY(p.open());
    QLineEdit *serial = findField(&p.page, SerialLabel);
    if (typed)
        retype(serial, *typed);
    QCOMPARE(serial->text(), shown);
    QCOMPARE(p.saved().settings.VoucherSerial, saved);
}

void GeneralPageTest::onlyTypingMarksThePage_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("box");
    for (const QString &label : {UserSizeLabel, PasswordSizeLabel, SerialLabel, CurrencyLabel})
        QTest::addRow("typing in %s", qPrintable(label)) << label << QString();
    for (const QString &text : CheckBoxes)
        QTest::addRow("ticking %s", qPrintable(text)) << QString() << text;
}

void GeneralPageTest::onlyTypingMarksThePage()
{
    QFETCH(QString, edit);
    QFETCH(QString, box);
    Page p;
    QVERIFY(p.open());
    if (!edit.isEmpty()) {
        QLineEdit *line = findField(&p.page, edit);
        QTest::keyClick(line, Qt::Key_End);
        QTest::keyClicks(line, u"1"_s);
        QVERIFY(p.page.isModified());
    } else {
        QAbstractButton *check = button(&p.page, box);
        const bool was = check->isChecked();
        tick(check);
        QCOMPARE(check->isChecked(), !was);
        QVERIFY(!p.page.isModified());
    }
}

void GeneralPageTest::addUser_data()
{
    QTest::addColumn<EditorInput>("input");
    QTest::addColumn<QList<AppUser>>("users");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("selected");

    const AppUser dono{u"dono"_s, u"Segredo"_s, true, false, true};
    const AppUser caixa{u"caixa"_s, u"1234"_s, false, true, false};
    const AppUser empty{QString(), QString(), false, true, true};
    const QStringList rows = {u"dono"_s, u"caixa"_s, u"< vazio >"_s};

    QTest::addRow("new user") << EditorInput{u"gerente"_s, u"g3r3nte"_s, true}
                              << QList<AppUser>{dono,
                                                caixa,
                                                empty,
                                                {u"gerente"_s, u"g3r3nte"_s, true, false, false}}
                              << rows + QStringList{u"gerente"_s} << u"gerente"_s;
    QTest::addRow("new user, password left")
        << EditorInput{u"gerente"_s, std::nullopt, false}
        << QList<AppUser>{dono, caixa, empty, {u"gerente"_s, QString(), false, false, false}}
        << rows + QStringList{u"gerente"_s} << u"gerente"_s;
    QTest::addRow("listed name updates that user")
        << EditorInput{u"caixa"_s, u"nova"_s, true}
        << QList<AppUser>{dono, {u"caixa"_s, u"nova"_s, true, true, false}, empty} << rows << u"caixa"_s;
    QTest::addRow("listed name, password left empties it")
        << EditorInput{u"caixa"_s, std::nullopt, false}
        << QList<AppUser>{dono, {u"caixa"_s, QString(), false, true, false}, empty} << rows << u"caixa"_s;
    QTest::addRow("other case is another user")
        << EditorInput{u"Caixa"_s, u"x"_s, false}
        << QList<AppUser>{dono, caixa, empty, {u"Caixa"_s, u"x"_s, false, false, false}}
        << rows + QStringList{u"Caixa"_s} << u"Caixa"_s;
    QTest::addRow("empty name is the unnamed user")
        << EditorInput{QString(), u"x"_s, true}
        << QList<AppUser>{dono, caixa, {QString(), u"x"_s, true, true, true}} << rows << u"< vazio >"_s;
    QTest::addRow("cancelled") << EditorInput{u"gerente"_s, u"g3r3nte"_s, true, u"Cancelar"_s}
                               << QList<AppUser>{dono, caixa, empty} << rows << QString();
}

void GeneralPageTest::addUser()
{
    QFETCH(EditorInput, input);
    QFETCH(QList<AppUser>, users);
    QFETCH(QStringList, rows);
    QFETCH(QString, selected);
    Page p;
    QVERIFY(p.open());

    const auto answered = answerEditor(QString(), false, input);
    // The accessible press clicks the button a moment later.
    QVERIFY(pressAccessible(findAccessible(&p.page, QAccessible::PushButton, u"Adicionar"_s)));
    QTRY_VERIFY(*answered);

    QCOMPARE(p.saved().users, users);
    QCOMPARE(p.rows(), rows);
    QCOMPARE(p.selectedRow(), selected);
    QCOMPARE(p.page.isModified(), input.press == u"Ok"_s);
}

void GeneralPageTest::editUser_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<EditorInput>("input");
    QTest::addColumn<AppUser>("user");
    QTest::addColumn<QString>("rowText");

    QTest::addRow("placeholder left keeps the password")
        << 1 << false << EditorInput{u"caixa2"_s, std::nullopt, false}
        << AppUser{u"caixa2"_s, u"1234"_s, false, true, false} << u"caixa2"_s;
    QTest::addRow("typed password replaces it")
        << 1 << false << EditorInput{u"caixa"_s, u"nova"_s, false}
        << AppUser{u"caixa"_s, u"nova"_s, false, true, false} << u"caixa"_s;
    QTest::addRow("cleared password empties it")
        << 0 << false << EditorInput{u"dono"_s, QString(), true}
        << AppUser{u"dono"_s, QString(), true, false, true} << u"dono"_s;
    QTest::addRow("emptied name, access given")
        << 1 << false << EditorInput{QString(), std::nullopt, true}
        << AppUser{QString(), u"1234"_s, true, true, false} << u"< vazio >"_s;
    QTest::addRow("named, by double click") << 2 << true << EditorInput{u"turno"_s, u"t"_s, false}
                                            << AppUser{u"turno"_s, u"t"_s, false, true, true} << u"turno"_s;
    QTest::addRow("cancelled") << 0 << false << EditorInput{u"outro"_s, u"x"_s, false, u"Cancelar"_s}
                               << AppUser{u"dono"_s, u"Segredo"_s, true, false, true} << u"dono"_s;
}

void GeneralPageTest::editUser()
{
    QFETCH(int, row);
    QFETCH(bool, doubleClick);
    QFETCH(EditorInput, input);
    QFETCH(AppUser, user);
    QFETCH(QString, rowText);
    Page p;
    QVERIFY(p.open());
    const AppUser before = p.data.users.at(row);

    p.clickRow(row);
    const auto answered = answerEditor(before.Name, before.SettingsAccess, input);
    if (doubleClick)
        p.clickRow(row, true);
    else
        QTest::mouseClick(button(&p.page, u"Editar"_s), Qt::LeftButton);
    QVERIFY(*answered);

    QList<AppUser> users = p.data.users;
    users[row] = user;
    QCOMPARE(p.saved().users, users);
    QCOMPARE(p.page.usersView()->item(row)->text(), rowText);
    const QImage icon = image(p.resources.listImage(user.SettingsAccess ? AdminUserImage : UserImage));
    QCOMPARE(image(p.page.usersView()->item(row)->icon().pixmap(icon.size())), icon);
    QCOMPARE(p.page.isModified(), input.press == u"Ok"_s);
}

// A name with a tab (pasted: it cannot be typed) is refused with the editor
// open on it; mended, it is taken.
void GeneralPageTest::userNameWithControlCharacterRefused()
{
    Page p;
    QVERIFY(p.open());
    auto answered = std::make_shared<bool>(false);
    onNextModal([&p, answered](QWidget *dialog) {
        QLineEdit *nameEdit = findField(dialog, u"Nome do Usuário"_s);
        QVERIFY(nameEdit);
        nameEdit->setText(u"caixa\t2"_s);
        QTest::mouseClick(button(dialog, u"Ok"_s), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(p.interaction.texts(),
                 QStringList{u"O campo \"Nome do Usuário\" não pode conter tabulações, quebras de linha nem "
                             "outros caracteres de controle."_s});
        QCOMPARE(dialog->focusWidget(), nameEdit);
        retype(nameEdit, u"caixa 2"_s);
        QTest::mouseClick(button(dialog, u"Ok"_s), Qt::LeftButton);
        *answered = true;
    });
    QVERIFY(pressAccessible(findAccessible(&p.page, QAccessible::PushButton, u"Adicionar"_s)));
    QTRY_VERIFY(*answered);

    QList<AppUser> users = p.data.users;
    users.append({u"caixa 2"_s, QString(), false, false, false});
    QCOMPARE(p.saved().users, users);
    QCOMPARE(p.interaction.texts().size(), 1);
}

void GeneralPageTest::deleteAsksFirst_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("rows");
    QTest::addRow("yes") << Answer::Yes << QStringList{u"dono"_s, u"< vazio >"_s};
    QTest::addRow("no") << Answer::No << QStringList{u"dono"_s, u"caixa"_s, u"< vazio >"_s};
}

void GeneralPageTest::deleteAsksFirst()
{
    QFETCH(Answer, answer);
    QFETCH(QStringList, rows);
    Page p;
    p.interaction.answer({answer});
    QVERIFY(p.open());
    p.clickRow(1);
    QTest::mouseClick(button(&p.page, u"Apagar"_s), Qt::LeftButton);

    QCOMPARE(p.interaction.events.size(), 1);
    QCOMPARE(p.interaction.events[0].kind, ScriptedInteraction::Kind::YesNo);
    QCOMPARE(p.interaction.events[0].text, DeleteQuestion);
    QCOMPARE(p.interaction.events[0].icon, MessageIcon::Warning);
    QCOMPARE(p.rows(), rows);
    const bool yes = answer == Answer::Yes;
    QCOMPARE(p.saved().users.size(), yes ? 2 : 3);
    if (yes) {
        // The users that stay keep all they had.
        QCOMPARE(p.saved().users, (QList<AppUser>{{u"dono"_s, u"Segredo"_s, true, false, true},
                                                  {QString(), QString(), false, true, true}}));
    }
    QCOMPARE(p.page.isModified(), yes);
    // Nothing is left selected for a second, unintended delete.
    QCOMPARE(button(&p.page, u"Apagar"_s)->isEnabled(), !yes);
}

void GeneralPageTest::validateWantsASettingsUser_data()
{
    QTest::addColumn<QList<AppUser>>("users");
    QTest::addColumn<bool>("valid");
    QTest::addRow("one of three may") << QList<AppUser>{{u"a"_s, {}, false, false, false},
                                                        {u"b"_s, {}, true, false, false},
                                                        {u"c"_s, {}, false, false, false}}
                                      << true;
    QTest::addRow("none may") << QList<AppUser>{{u"a"_s, {}, false, true, true},
                                                {u"b"_s, {}, false, false, false}}
                              << false;
    QTest::addRow("no users") << QList<AppUser>{} << false;
}

void GeneralPageTest::validateWantsASettingsUser()
{
    QFETCH(QList<AppUser>, users);
    QFETCH(bool, valid);
    Page p;
    p.data.users = users;
    QVERIFY(p.open());
    QCOMPARE(p.page.validate(), valid);
    QCOMPARE(p.interaction.texts(), valid ? QStringList() : QStringList{NoSettingsUser});
    if (!valid)
        QCOMPARE(p.interaction.events[0].icon, MessageIcon::Warning);
}

void GeneralPageTest::usernameDatabase_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("modified");
    QTest::addRow("Ok") << u"Ok"_s << QStringList{u"ana"_s} << true;
    QTest::addRow("Cancelar") << u"Cancelar"_s << QStringList{u"ana"_s, u"bruno"_s} << false;
}

void GeneralPageTest::usernameDatabase()
{
    QFETCH(QString, press);
    QFETCH(QStringList, names);
    QFETCH(bool, modified);
    Page p;
    p.interaction.answer({Answer::Yes});
    QVERIFY(p.open());

    auto answered = std::make_shared<bool>(false);
    onNextModal([&p, press, answered](QWidget *dialog) {
        auto *database = qobject_cast<CUserDatabaseDlg *>(dialog);
        QVERIFY(database);
        QCOMPARE(dialog->parentWidget(), &p.page);
        *answered = true;
        QCOMPARE(database->names(), (QStringList{u"ana"_s, u"bruno"_s}));
        // "bruno" is deleted in the dialog, then it is closed.
        QListView *view = database->view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(1, 0)).center());
        QTest::mouseClick(button(dialog, u"Apagar"_s), Qt::LeftButton);
        QTest::mouseClick(button(dialog, press), Qt::LeftButton);
    });
    QTest::mouseClick(button(&p.page, u"Database"_s), Qt::LeftButton);
    QVERIFY(*answered);

    QCOMPARE(p.saved().userNames, names);
    QCOMPARE(p.page.isModified(), modified);
}

void GeneralPageTest::tabOrder()
{
    Page p;
    QVERIFY(p.open());
    p.clickRow(0);

    auto named = [&p](QAccessible::Role role, const QString &name) {
        QAccessibleInterface *found = findAccessible(&p.page, role, name);
        return found ? qobject_cast<QWidget *>(found->object()) : nullptr;
    };
    const QList<QWidget *> order = {
        named(QAccessible::List, u"Usuários do wifiTicketer"_s),
        named(QAccessible::PushButton, u"Adicionar"_s),
        named(QAccessible::PushButton, u"Editar"_s),
        named(QAccessible::PushButton, u"Apagar"_s),
        named(QAccessible::CheckBox, CheckBoxes[0]),
        findField(&p.page, UserSizeLabel),
        named(QAccessible::CheckBox, CheckBoxes[1]),
        named(QAccessible::PushButton, u"Database"_s),
        named(QAccessible::CheckBox, CheckBoxes[2]),
        named(QAccessible::CheckBox, CheckBoxes[3]),
        findField(&p.page, PasswordSizeLabel),
        named(QAccessible::CheckBox, CheckBoxes[4]),
        findField(&p.page, SerialLabel),
        findField(&p.page, CurrencyLabel),
        named(QAccessible::CheckBox, CheckBoxes[5]),
        named(QAccessible::CheckBox, CheckBoxes[6]),
        named(QAccessible::CheckBox, CheckBoxes[7]),
    };
    QVERIFY(!order.contains(nullptr));
    QCOMPARE(QApplication::focusWidget(), order.first());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(QApplication::focusWidget() == order[i], qPrintable(u"step %1"_s.arg(i)));
    }
}

// The program user editor.
class UserEditDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void opensWithoutThePassword();
    void result_data();
    void result();
    void textsTake199Characters();
};

void UserEditDialogTest::opensWithoutThePassword()
{
    ScriptedInteraction interaction;
    CUserEditDialog dialog(u"dono"_s, u"Segredo"_s, true, interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.windowTitle(), u"wifiTicketer editor de usuário"_s);
    QLineEdit *name = findField(&dialog, u"Nome do Usuário"_s);
    QLineEdit *password = findField(&dialog, u"Senha"_s);
    QVERIFY(name && password);
    QCOMPARE(name->text(), u"dono"_s);
    QCOMPARE(password->text(), u"########"_s);
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QVERIFY(button(&dialog, u"Permitir acesso as configuraçoes"_s)->isChecked());
    QCOMPARE(dialog.focusWidget(), name);
    auto *ok = qobject_cast<QPushButton *>(button(&dialog, u"Ok"_s));
    QVERIFY(ok && ok->isDefault());
    QVERIFY(button(&dialog, u"Cancelar"_s));
}

void UserEditDialogTest::result_data()
{
    QTest::addColumn<QString>("name");                    // typed over the name; "=" leaves it
    QTest::addColumn<std::optional<QString>>("password"); // typed over the password
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("finish"); // a key or a button
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<bool>("newAccess");

    const std::optional<QString> left;
    QTest::addRow("Enter, placeholder left")
        << u"="_s << left << false << u"Enter"_s << true << u"dono"_s << u"Segredo"_s << true;
    QTest::addRow("Ok, new password") << u"="_s << std::optional<QString>(u"n0va"_s) << false << u"Ok"_s
                                      << true << u"dono"_s << u"n0va"_s << true;
    QTest::addRow("password cleared") << u"="_s << std::optional<QString>(QString()) << false << u"Enter"_s
                                      << true << u"dono"_s << QString() << true;
    QTest::addRow("renamed, access taken")
        << u"Dona"_s << left << true << u"Ok"_s << true << u"Dona"_s << u"Segredo"_s << false;
    QTest::addRow("Escape") << u"Dona"_s << std::optional<QString>(u"n0va"_s) << true << u"Escape"_s << false
                            << u"dono"_s << u"Segredo"_s << true;
    QTest::addRow("Cancelar") << u"Dona"_s << std::optional<QString>(u"n0va"_s) << true << u"Cancelar"_s
                              << false << u"dono"_s << u"Segredo"_s << true;
}

void UserEditDialogTest::result()
{
    QFETCH(QString, name);
    QFETCH(std::optional<QString>, password);
    QFETCH(bool, toggle);
    QFETCH(QString, finish);
    QFETCH(bool, confirmed);
    QFETCH(QString, newName);
    QFETCH(QString, newPassword);
    QFETCH(bool, newAccess);

    QWidget parent;
    auto answered = std::make_shared<bool>(false);
    onNextModal([&](QWidget *dialog) {
        QVERIFY(qobject_cast<CUserEditDialog *>(dialog));
        QCOMPARE(dialog->parentWidget(), &parent);
        *answered = true;
        QLineEdit *nameEdit = findField(dialog, u"Nome do Usuário"_s);
        QLineEdit *passwordEdit = findField(dialog, u"Senha"_s);
        if (name != u"="_s)
            retype(nameEdit, name);
        if (password)
            retype(passwordEdit, *password);
        if (toggle)
            tick(button(dialog, u"Permitir acesso as configuraçoes"_s));
        QWidget *focused = dialog->focusWidget();
        if (finish == u"Enter"_s)
            QTest::keyClick(focused, Qt::Key_Return);
        else if (finish == u"Escape"_s)
            QTest::keyClick(focused, Qt::Key_Escape);
        else
            QTest::mouseClick(button(dialog, finish), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    QString editedName = u"dono"_s;
    QString editedPassword = u"Segredo"_s;
    bool editedAccess = true;
    ScriptedInteraction interaction;
    QCOMPARE(::editUser(&parent, editedName, editedPassword, editedAccess, interaction), confirmed);
    QVERIFY(*answered);
    QCOMPARE(interaction.texts(), QStringList());
    QCOMPARE(editedName, newName);
    QCOMPARE(editedPassword, newPassword);
    QCOMPARE(editedAccess, newAccess);
}

void UserEditDialogTest::textsTake199Characters()
{
    ScriptedInteraction interaction;
    CUserEditDialog dialog(QString(), u"Segredo"_s, false, interaction);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    retype(dialog.nameEdit(), LongText);
    retype(dialog.passwordEdit(), LongText);
    QCOMPARE(dialog.name(), LongText.left(199));
    QCOMPARE(dialog.password(), LongText.left(199));
}

WIFITICKETER_TEST(GeneralPageTest)
WIFITICKETER_TEST(UserEditDialogTest)

#include "generalpagetest.moc"
