#include "cusereditdialog.h"

#include "base/operatorinteraction.h"
#include "config/appuser.h"
#include "ui/framework/okcancelbuttons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int MinimumWidth = 300;

} // namespace

CUserEditDialog::CUserEditDialog(const QString &name, const QString &password, bool settingsAccess,
                                 OperatorInteraction &interaction, QWidget *parent)
    : QDialog(parent), m_interaction(interaction), m_oldPassword(password), m_name(new QLineEdit(this)),
      m_password(new QLineEdit(this)),
      m_settingsAccess(new QCheckBox(tr("Permitir acesso as configuraçoes"), this))
{
    setWindowTitle(tr("wifiTicketer editor de usuário"));

    m_name->setMaxLength(TextLength);
    m_name->setText(name);
    m_password->setMaxLength(TextLength);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setText(PasswordPlaceholder);
    m_settingsAccess->setChecked(settingsAccess);

    auto *nameLabel = new QLabel(tr("Nome do Usuário"), this);
    nameLabel->setBuddy(m_name);
    auto *passwordLabel = new QLabel(tr("Senha"), this);
    passwordLabel->setBuddy(m_password);

    QDialogButtonBox *buttons = addOkCancelButtons(this).box;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(m_name);
    layout->addWidget(passwordLabel);
    layout->addWidget(m_password);
    layout->addWidget(m_settingsAccess);
    layout->addWidget(buttons);
    setMinimumWidth(MinimumWidth);
    m_name->setFocus();
}

QString CUserEditDialog::name() const
{
    return m_name->text();
}

QString CUserEditDialog::password() const
{
    return editedPassword(m_oldPassword, m_password->text());
}

bool CUserEditDialog::settingsAccess() const
{
    return m_settingsAccess->isChecked();
}

void CUserEditDialog::accept()
{
    if (const std::optional<QString> problem = appUserNameProblem(m_name->text())) {
        m_interaction.showMessage(*problem, MessageIcon::Warning);
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    QDialog::accept();
}

bool editUser(QWidget *parent, QString &name, QString &password, bool &settingsAccess,
              OperatorInteraction &interaction)
{
    CUserEditDialog dialog(name, password, settingsAccess, interaction, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    name = dialog.name();
    password = dialog.password();
    settingsAccess = dialog.settingsAccess();
    return true;
}
