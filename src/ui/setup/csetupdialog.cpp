#include "csetupdialog.h"

#include "cusereditdialog.h"
#include "setuplook.h"

#include "base/operatorinteraction.h"
#include "session/setupdata.h"
#include "ui/framework/smallimagelist.h"
#include "ui/framework/uiresources.h"
#include "ui/userdata/cuserdatabasedlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The lengths the generator accepts for random names and passwords.
constexpr int MinimumSize = 2;
constexpr int MaximumSize = 12;
constexpr int SizeDigits = 2;
// Serials run to this; the generator starts again at 1 after it.
constexpr quint32 MaximumSerial = 999999999;

int limitedSize(const QString &text)
{
    // Empty text reads as 0, and so becomes the minimum.
    return std::clamp(text.toInt(), MinimumSize, MaximumSize);
}

QString sizeText(qint32 size)
{
    // A size out of range can only come from a damaged key; the field shows
    // what saving it would store.
    return QString::number(std::clamp(size, MinimumSize, MaximumSize));
}

QLineEdit *digitEdit(int digits, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setMaxLength(digits);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), edit));
    return edit;
}

} // namespace

CSetupDialog::CSetupDialog(OperatorInteraction &interaction, UiResources &resources, QWidget *parent)
    : SetupPage(parent), m_interaction(interaction), m_resources(resources)
{
    // The program users.
    auto *usersGroup = new QGroupBox(tr("Usuários do wifiTicketer"), this);
    m_usersView = new QListWidget(usersGroup);
    m_usersView->setAccessibleName(usersGroup->title());
    m_usersView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_usersView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (const QPixmap icon = m_resources.listImage(UserImage); !icon.isNull())
        m_usersView->setIconSize(icon.deviceIndependentSize().toSize());
    auto *addButton = new QPushButton(tr("Adicionar"), usersGroup);
    m_editButton = new QPushButton(tr("Editar"), usersGroup);
    m_deleteButton = new QPushButton(tr("Apagar"), usersGroup);

    auto *userButtons = new QHBoxLayout;
    userButtons->addWidget(addButton);
    userButtons->addWidget(m_editButton);
    userButtons->addWidget(m_deleteButton);
    auto *usersLayout = new QVBoxLayout(usersGroup);
    usersLayout->addWidget(m_usersView);
    usersLayout->addLayout(userButtons);

    // The rules of voucher generation and the program options.
    auto *rulesGroup = new QGroupBox(tr("Parâmetros de geração de voucher"), this);
    m_randomUserName = new QCheckBox(tr("Gerar nomes de usuários aleatórios"), rulesGroup);
    auto *userSizeLabel = new QLabel(tr("Tamanho do nome usuário:"), rulesGroup);
    m_userSize = digitEdit(SizeDigits, rulesGroup);
    userSizeLabel->setBuddy(m_userSize);
    m_useUserDatabase = new QCheckBox(tr("Use username database"), rulesGroup);
    auto *databaseButton = new QPushButton(tr("Database"), rulesGroup);
    m_queryPassword = new QCheckBox(tr("Entrada manual Senha"), rulesGroup);
    m_randomPassword = new QCheckBox(tr("Gerar Senha aleatória"), rulesGroup);
    auto *passwordSizeLabel = new QLabel(tr("Tamanho da Senha:"), rulesGroup);
    m_passwordSize = digitEdit(SizeDigits, rulesGroup);
    passwordSizeLabel->setBuddy(m_passwordSize);
    m_onlyNumbers = new QCheckBox(tr("Utilize somente números em usuário e Senha"), rulesGroup);
    auto *serialLabel = new QLabel(tr("Codigo:"), rulesGroup);
    m_serial = digitEdit(SerialDigits, rulesGroup);
    serialLabel->setBuddy(m_serial);
    auto *currencyLabel = new QLabel(tr("Moeda:"), rulesGroup);
    m_currency = new QLineEdit(rulesGroup);
    currencyLabel->setBuddy(m_currency);
    m_queryUserData = new QCheckBox(tr("Solicitar dados do usuário"), rulesGroup);
    m_verifyCreatedUser = new QCheckBox(tr("Verificar o usuário após a criação"), rulesGroup);
    m_minimizeToTray =
        new QCheckBox(tr("Minimizar para a barra de tarefas ao clicar no botão fechar"), rulesGroup);

    auto *rules = new QGridLayout(rulesGroup);
    int row = 0;
    rules->addWidget(m_randomUserName, row++, 0, 1, 2);
    rules->addWidget(userSizeLabel, row, 0);
    rules->addWidget(m_userSize, row++, 1);
    rules->addWidget(m_useUserDatabase, row, 0);
    rules->addWidget(databaseButton, row++, 1);
    rules->addWidget(m_queryPassword, row++, 0, 1, 2);
    rules->addWidget(m_randomPassword, row++, 0, 1, 2);
    rules->addWidget(passwordSizeLabel, row, 0);
    rules->addWidget(m_passwordSize, row++, 1);
    rules->addWidget(m_onlyNumbers, row++, 0, 1, 2);
    rules->addWidget(serialLabel, row, 0);
    rules->addWidget(m_serial, row++, 1);
    rules->addWidget(currencyLabel, row, 0);
    rules->addWidget(m_currency, row++, 1);
    rules->addWidget(m_queryUserData, row++, 0, 1, 2);
    rules->addWidget(m_verifyCreatedUser, row++, 0, 1, 2);
    rules->addWidget(m_minimizeToTray, row++, 0, 1, 2);
    rules->setRowStretch(row, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(usersGroup);
    layout->addWidget(rulesGroup);

    // The left group, then the right one from top to bottom.
    const QList<QWidget *> tabOrder = {
        m_usersView,         addButton,         m_editButton,   m_deleteButton,  m_randomUserName,
        m_userSize,          m_useUserDatabase, databaseButton, m_queryPassword, m_randomPassword,
        m_passwordSize,      m_onlyNumbers,     m_serial,       m_currency,      m_queryUserData,
        m_verifyCreatedUser, m_minimizeToTray};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    useSetupFieldBackground(this);

    // Only what the operator types marks the page; the values shown by
    // initialize() do not, and neither do the check boxes.
    for (QLineEdit *edit : {m_userSize, m_passwordSize, m_serial, m_currency})
        connect(edit, &QLineEdit::textEdited, this, &CSetupDialog::markModified);
    connect(m_randomUserName, &QCheckBox::toggled, this, &CSetupDialog::updateSizeEdits);
    connect(m_randomPassword, &QCheckBox::toggled, this, &CSetupDialog::updateSizeEdits);

    connect(addButton, &QPushButton::clicked, this, &CSetupDialog::addUser);
    connect(m_editButton, &QPushButton::clicked, this, &CSetupDialog::editUser);
    connect(m_deleteButton, &QPushButton::clicked, this, &CSetupDialog::deleteUser);
    connect(databaseButton, &QPushButton::clicked, this, &CSetupDialog::editUserNames);
    connect(m_usersView, &QListWidget::itemSelectionChanged, this, &CSetupDialog::updateUserButtons);
    connect(m_usersView, &QListWidget::itemDoubleClicked, this, &CSetupDialog::editUser);
    updateUserButtons();
    updateSizeEdits();
}

void CSetupDialog::initialize(const SetupData &data)
{
    m_users = data.users;
    m_usersView->clear();
    for (int row = 0; row < m_users.size(); ++row) {
        m_usersView->addItem(new QListWidgetItem);
        showUser(row);
    }
    m_userNames = data.userNames;

    const AppSettings &settings = data.settings;
    m_randomUserName->setChecked(settings.CreateRandomUserName);
    m_userSize->setText(sizeText(settings.GenerateUserSize));
    m_useUserDatabase->setChecked(settings.UseUserDatabase);
    m_queryPassword->setChecked(settings.QueryPassword);
    m_randomPassword->setChecked(settings.CreateRandomPassword);
    m_passwordSize->setText(sizeText(settings.GeneratePasswordSize));
    m_onlyNumbers->setChecked(settings.UseOnlyNumbers);
    // A serial past the last one is where the generator starts again at 1; it
    // would not fit the field either.
    m_serial->setText(QString::number(settings.VoucherSerial > MaximumSerial ? 1 : settings.VoucherSerial));
    m_currency->setText(settings.UseCurrency);
    m_queryUserData->setChecked(settings.QueryUserData);
    m_verifyCreatedUser->setChecked(settings.VerifyCreatedUser);
    m_minimizeToTray->setChecked(settings.MinimizeToTray);

    updateSizeEdits();
    updateUserButtons();
    m_modified = false;
}

bool CSetupDialog::validate()
{
    if (std::any_of(m_users.cbegin(), m_users.cend(),
                    [](const AppUser &user) { return user.SettingsAccess; }))
        return true;
    m_interaction.showMessage(tr("Não existem usuário(s) com permissões de configuração.\nPor favor crie ao "
                                 "menos um usuário com essa permissão."),
                              MessageIcon::Warning);
    return false;
}

void CSetupDialog::save(SetupData &data)
{
    // The page keeps its modified flag: when the program cannot write what was
    // saved, the setup stays open and a Cancel must still ask.
    data.users = m_users;
    data.userNames = m_userNames;

    AppSettings &settings = data.settings;
    settings.MinimizeToTray = m_minimizeToTray->isChecked();
    // The field takes nine digits at most, so the number always fits; empty
    // text gives 0.
    settings.VoucherSerial = m_serial->text().toUInt();
    settings.UseCurrency = m_currency->text();
    settings.CreateRandomUserName = m_randomUserName->isChecked();
    settings.GenerateUserSize = limitedSize(m_userSize->text());
    settings.GeneratePasswordSize = limitedSize(m_passwordSize->text());
    settings.CreateRandomPassword = m_randomPassword->isChecked();
    settings.QueryPassword = m_queryPassword->isChecked();
    settings.QueryUserData = m_queryUserData->isChecked();
    settings.UseOnlyNumbers = m_onlyNumbers->isChecked();
    settings.UseUserDatabase = m_useUserDatabase->isChecked();
    settings.VerifyCreatedUser = m_verifyCreatedUser->isChecked();
}

bool CSetupDialog::isModified() const
{
    return m_modified;
}

void CSetupDialog::showUser(int row)
{
    const AppUser &user = m_users.at(row);
    QListWidgetItem *item = m_usersView->item(row);
    item->setText(userDisplayName(user));
    item->setIcon(QIcon(m_resources.listImage(user.SettingsAccess ? AdminUserImage : UserImage)));
}

void CSetupDialog::addUser()
{
    QString name;
    QString password;
    bool settingsAccess = false;
    if (!::editUser(this, name, password, settingsAccess, m_interaction))
        return;
    const qsizetype before = m_users.size();
    // A user of exactly that name is updated rather than listed twice.
    const int row = int(addOrUpdateUser(m_users, name, password, settingsAccess));
    if (m_users.size() > before)
        m_usersView->addItem(new QListWidgetItem);
    showUser(row);
    m_usersView->setCurrentRow(row);
    m_usersView->scrollToItem(m_usersView->item(row));
    m_usersView->setFocus();
    m_modified = true;
}

void CSetupDialog::editUser()
{
    // A screen reader may select a row without making it the current one.
    const QList<QListWidgetItem *> selected = m_usersView->selectedItems();
    const int row = selected.isEmpty() ? -1 : m_usersView->row(selected.first());
    if (row < 0)
        return;
    AppUser &user = m_users[row];
    QString name = user.Name;
    QString password = user.Password;
    bool settingsAccess = user.SettingsAccess;
    if (!::editUser(this, name, password, settingsAccess, m_interaction))
        return;
    user.Name = name;
    user.Password = password;
    user.SettingsAccess = settingsAccess;
    showUser(row);
    m_modified = true;
}

void CSetupDialog::deleteUser()
{
    // A screen reader may select a row without making it the current one.
    const QList<QListWidgetItem *> selected = m_usersView->selectedItems();
    const int row = selected.isEmpty() ? -1 : m_usersView->row(selected.first());
    if (row < 0)
        return;
    if (m_interaction.askYesNo(tr("Você quer apagar o usuário selecionado?"), MessageIcon::Warning) !=
        Answer::Yes)
        return;
    m_users.removeAt(row);
    delete m_usersView->takeItem(row);
    // The list would select the next user; a second "Apagar" must not delete
    // one the operator did not pick.
    m_usersView->clearSelection();
    m_modified = true;
    updateUserButtons();
}

void CSetupDialog::editUserNames()
{
    if (editUserDatabase(this, m_userNames, m_interaction))
        m_modified = true;
}

void CSetupDialog::updateUserButtons()
{
    const bool selected = !m_usersView->selectedItems().isEmpty();
    m_editButton->setEnabled(selected);
    m_deleteButton->setEnabled(selected);
}

void CSetupDialog::updateSizeEdits()
{
    m_userSize->setEnabled(m_randomUserName->isChecked());
    m_passwordSize->setEnabled(m_randomPassword->isChecked());
}
