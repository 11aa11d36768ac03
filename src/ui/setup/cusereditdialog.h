#pragma once

#include <QDialog>

class OperatorInteraction;
class QCheckBox;
class QLineEdit;

// The program user editor: name, password and the permission to open the
// setup. The stored password is never shown: the password field starts with a
// placeholder, and the password stays as it was while the placeholder is left.
class CUserEditDialog : public QDialog
{
    Q_OBJECT

public:
    // Names and passwords are stored scrambled, which holds 199 characters.
    static constexpr int TextLength = 199;

    // OK refuses a name the program would not keep (appUserNameProblem),
    // telling the operator through the interaction.
    CUserEditDialog(const QString &name, const QString &password, bool settingsAccess,
                    OperatorInteraction &interaction, QWidget *parent = nullptr);

    QString name() const;
    // The old password while the placeholder is untouched, else what was typed.
    QString password() const;
    bool settingsAccess() const;

    QLineEdit *nameEdit() const { return m_name; }
    QLineEdit *passwordEdit() const { return m_password; }

    void accept() override;

private:
    OperatorInteraction &m_interaction;
    QString m_oldPassword;
    QLineEdit *m_name;
    QLineEdit *m_password;
    QCheckBox *m_settingsAccess;
};

// Lets the operator edit a program user; true when confirmed (the three values
// then hold the edited ones), false when cancelled (all unchanged).
bool editUser(QWidget *parent, QString &name, QString &password, bool &settingsAccess,
              OperatorInteraction &interaction);
